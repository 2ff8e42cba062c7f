// What the export layer itself promises, whatever the core behind it answers.
#include "harness/host_tool.h"
#include "harness/nvinfo_module.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

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
        EXPECT_EQ(111, counts[0]);
        EXPECT_EQ(222, counts[1]);
        EXPECT_EQ(333, counts[2]);
        EXPECT_EQ(reinterpret_cast<IDispatch*>(0x1234), document);
    }
}

TEST(Wiring, NullTextsAreEmptyTexts)
{
    auto getNewsXml = NvinfoModule::Proc<PFN_NV_GETNEWSXML>("GetNewsXml");
    EXPECT_EQ(nullptr, getNewsXml(nullptr, nullptr));
    auto getNews = NvinfoModule::Proc<PFN_NV_GETNEWS>("GetNews");
    IDispatch* document = reinterpret_cast<IDispatch*>(0x1234);
    EXPECT_EQ(E_INVALIDARG, getNews(nullptr, nullptr, &document));
    EXPECT_EQ(reinterpret_cast<IDispatch*>(0x1234), document);
    auto mergeNdc = NvinfoModule::Proc<PFN_NV_MERGENDC>("MergeNdc");
    EXPECT_LT(mergeNdc(nullptr, nullptr), 0);
    EXPECT_EQ(1, NvinfoModule::Proc<PFN_NV_TEXTSTD>("IsInstalliert")(nullptr));
}

TEST(Wiring, NullDocumentPointersAreRefusedNotWrittenThrough)
{
    auto getNewsDocument = NvinfoModule::Proc<PFN_NV_GETNEWSDOCUMENT>(NVINFO_GETNEWSDOCUMENT);
    EXPECT_EQ(E_POINTER, getNewsDocument("qdpro", "", nullptr));
    auto getNews = NvinfoModule::Proc<PFN_NV_GETNEWS>("GetNews");
    EXPECT_EQ(E_POINTER, getNews("qdpro", "", nullptr));
}

TEST(Wiring, TheHostToolNamesAnExportItDoesNotKnow)
{
    const std::string printed = RunHostTool("NoSuchExport");
    EXPECT_EQ(0u, printed.find("nvhost: no export is named NoSuchExport\r\nusage:")) << printed;
    EXPECT_EQ("exit code 2", printed.substr(printed.rfind('\n') + 1));
}

} // namespace
