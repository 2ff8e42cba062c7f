// What the export layer itself promises, whatever the core behind it answers.
#include "harness/host_tool.h"
#include "harness/nvinfo_module.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"
#include "xml_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

namespace {

// An empty product, or a missing count, is refused before anything is written.
TEST(Wiring, GetUpdateInfosRefusesBadArgumentsWithoutTouchingTheOutputs)
{
    auto getUpdateInfos = NvinfoModule::Proc<PFN_NV_GETUPDATEINFOS>("GetUpdateInfos");
    for (int missing = -1; missing < 3; ++missing) {
        int counts[3] = {111, 222, 333};
        int* pointers[3] = {&counts[0], &counts[1], &counts[2]};
        if (missing >= 0)
            pointers[missing] = nullptr;
        IDispatch* document = reinterpret_cast<IDispatch*>(0x1234);
        EXPECT_EQ(missing < 0 ? E_INVALIDARG : -1,
                  getUpdateInfos(missing < 0 ? "" : "qdpro", pointers[0], pointers[1], pointers[2],
                                 &document))
            << "count " << missing;
        EXPECT_EQ((std::vector<int>{111, 222, 333}), std::vector<int>(counts, counts + 3));
        EXPECT_EQ(reinterpret_cast<IDispatch*>(0x1234), document);
    }
}

// Null texts are empty texts; a null document pointer is refused, not written through.
TEST(Wiring, NullTextsAreEmptyTextsAndNullDocumentPointersAreRefused)
{
    EXPECT_EQ(nullptr, NvinfoModule::Proc<PFN_NV_GETNEWSXML>("GetNewsXml")(nullptr, nullptr));
    auto getNews = NvinfoModule::Proc<PFN_NV_GETNEWS>("GetNews");
    IDispatch* document = reinterpret_cast<IDispatch*>(0x1234);
    EXPECT_EQ(E_INVALIDARG, getNews(nullptr, nullptr, &document));
    EXPECT_EQ(reinterpret_cast<IDispatch*>(0x1234), document);
    EXPECT_LT(NvinfoModule::Proc<PFN_NV_MERGENDC>("MergeNdc")(nullptr, nullptr), 0);
    EXPECT_EQ(1, NvinfoModule::Proc<PFN_NV_TEXTSTD>("IsInstalliert")(nullptr));
    auto getNewsDocument = NvinfoModule::Proc<PFN_NV_GETNEWSDOCUMENT>(NVINFO_GETNEWSDOCUMENT);
    EXPECT_EQ(E_POINTER, getNewsDocument("qdpro", "", nullptr));
    EXPECT_EQ(E_POINTER, getNews("qdpro", "", nullptr));
}

// COM that a call initialises for itself is ended with it, unless a document leaves for the
// caller, which needs COM for as long as it holds it (each call on a thread without COM).
TEST(Wiring, ComIsLeftAsTheCallFoundItUnlessADocumentLeaves)
{
    TempFolder folder;
    const std::string feed =
        folder.Write("w.xml", "<rss><channel><item><guid>g</guid></item></channel></rss>");
    using Module = NvinfoModule;
    const std::function<void(IDispatch**)> calls[] = {
        [](auto) { Module::Proc<PFN_NV_CHECKCONSTRAINT_STD>("CheckConstraint")("<true/>"); },
        [](auto) { Module::Proc<PFN_NV_GETNEWSXML>("GetNewsXml")("x", ""); },
        [](auto) { Module::Proc<PFN_NV_NOARGS>("GetUpdateMode")(); },
        [&](IDispatch** document) {
            Module::Proc<PFN_NV_GETNEWSFROMFILE>(NVINFO_GETNEWSFROMFILE)(feed.c_str(), "", document,
                                                                         1, 1);
        }};
    for (const auto& call : calls) {
        HRESULT after = E_FAIL;
        std::string outline;
        std::thread([&] {
            IDispatch* document = nullptr;
            call(&document);
            after = CoInitialize(nullptr);
            outline = TakeDocumentXml(document);
            CoUninitialize();
        }).join();
        EXPECT_EQ(outline == "(null)" ? S_OK : S_FALSE, after) << &call - calls;
        EXPECT_NE(outline == "(null)", outline.find("<guid>g</guid>") != std::string::npos);
    }
}

TEST(Wiring, TheHostToolNamesAnExportItDoesNotKnow)
{
    const std::string printed = RunHostTool("NoSuchExport");
    EXPECT_EQ(0u, printed.find("nvhost: no export is named NoSuchExport\r\nusage:")) << printed;
    EXPECT_EQ("exit code 2", printed.substr(printed.rfind('\n') + 1));
}

} // namespace
