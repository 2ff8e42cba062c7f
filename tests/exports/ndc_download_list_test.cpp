// GetNdcToDownload2 and GetNdcToDownload3 against product keys and NDC files:
// the whole list, white space nodes included, compared node by node.
#include "installed_products.h"
#include "xml_outline.h"

#include "dialog_capture.h"
#include "harness/nvinfo_module.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <cctype>

namespace {

const char kTestBase[] = "Software\\NvinfoCatalogueTest\\Installiert";

struct Listed {
    std::string name;
    std::string subKey;
    std::string ndcPath;
    std::string localUrl;
    std::string redirUrl;
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// One list entry as the update manager reads it: the indentation text nodes
// stand where it expects them.
std::string Entry(const Listed& listed)
{
    return "\n\t<ndc>\n\t\t<Name>" + XmlEscaped(listed.name) + "</Name><regSubPath>" + listed.subKey +
           "</regSubPath>\n\t\t<NDCFilename>" + Lower(listed.ndcPath) +
           "</NDCFilename>\n\t\t<LocalUrl>" + listed.localUrl + "</LocalUrl>\n\t\t<RedirURL>" +
           listed.redirUrl + "</RedirURL></ndc>";
}

std::string List(std::initializer_list<Listed> entries)
{
    std::string list = "<ndcs>";
    for (const Listed& listed : entries)
        list += Entry(listed);
    return list + "</ndcs>";
}

// The update manager initialises COM before it asks for the list; the
// module does not do it for this export.
void InitialiseCallerCom() { CoInitialize(nullptr); }

std::string NdcList3(const char* filter, int pushOnly, const std::string& baseKey)
{
    InitialiseCallerCom();
    auto getNdc3 = NvinfoModule::Proc<PFN_NV_GETNDCTODOWNLOAD3>("GetNdcToDownload3");
    DialogCapture dialogs;
    std::string xml = TakeBstrText(getNdc3(filter, pushOnly, baseKey.c_str()));
    EXPECT_TRUE(dialogs.Dialogs().empty()) << dialogs.Dialogs().front().text;
    return xml;
}

class NdcDownloadList : public ::testing::Test {
protected:
    NdcDownloadList() : m_products(kTestBase)
    {
        // Subkeys in the registry's (alphabetical) order.
        m_alpha = {"Alpha & Co", "alpha", "", "\\\\server\\ndc\\alpha", "http://upd.example/alpha.ndc"};
        m_alpha.ndcPath = m_products.WriteNdc(
            "Alpha.NDC", NdcHeader(m_alpha.redirUrl, m_alpha.localUrl, "1") +
                             "[item1]\r\nName=Eins\r\nDateVer=3\r\n");
        m_products.Register("alpha", m_alpha.name, m_alpha.ndcPath);

        m_bravo = {"Bravo", "Bravo", "", "", "http://upd.example/bravo.ndc"};
        m_bravo.ndcPath = m_products.WriteNdc("bravo.ndc", NdcHeader(m_bravo.redirUrl, "", ""));
        m_products.Register("Bravo", m_bravo.name, m_bravo.ndcPath);

        // Left out: no NDC value, a missing NDC file, a header without RedirURL.
        m_products.Register("charlie", "Charlie", "");
        m_products.Register("delta", "Delta", m_products.MissingFile("delta.ndc"));
        m_products.Register("echo", "Echo", m_products.WriteNdc("echo.ndc", NdcHeader("", "C:\\lokal", "1")));

        m_nvpro = {"Norvane Pro", "nvpro", "", "C:\\Daten\\lokal", "http://upd.example/nvpro.ndc"};
        m_nvpro.ndcPath = m_products.WriteNdc(
            "NvPro.Ndc", NdcHeader(m_nvpro.redirUrl, m_nvpro.localUrl, "2"));
        m_products.Register("nvpro", m_nvpro.name, m_nvpro.ndcPath);
    }

    InstalledProducts m_products;
    Listed m_alpha, m_bravo, m_nvpro;
};

TEST_F(NdcDownloadList, ListsProductsWithAFetchAddressInSubkeyOrder)
{
    EXPECT_EQ(List({m_alpha, m_bravo, m_nvpro}), XmlTextOutline(NdcList3("", 0, kTestBase)));
    EXPECT_EQ(List({m_alpha, m_bravo, m_nvpro}), XmlTextOutline(NdcList3(nullptr, 0, kTestBase)));
}

TEST_F(NdcDownloadList, FilterIsAPlainSubstringTestInAnyCase)
{
    struct Row {
        const char* filter;
        std::string expected;
    } rows[] = {
        {"ALPHA", List({m_alpha})},
        {"bravo", List({m_bravo})},
        {"alpha;bravo", List({m_alpha, m_bravo})},
        {"bravo alpha", List({m_alpha, m_bravo})},
        {"nvproplus", List({m_nvpro})},
        {"charlie;delta;echo", "<ndcs></ndcs>"},
        {"zulu", "<ndcs></ndcs>"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, XmlTextOutline(NdcList3(row.filter, 0, kTestBase))) << row.filter;
}

TEST_F(NdcDownloadList, PushOnlyListsHeadersThatPush)
{
    // "Push" 2 reads as 0; Bravo has no "Push" key at all.
    m_products.Register("foxtrot", "Foxtrot",
                        m_products.WriteNdc("fox.ndc", NdcHeader("http://f", "", "0")));
    for (int pushOnly : {1, 2, -1})
        EXPECT_EQ(List({m_alpha}), XmlTextOutline(NdcList3("", pushOnly, kTestBase)))
            << "push-only " << pushOnly;
}

TEST_F(NdcDownloadList, EmptyListHasNoWhiteSpace)
{
    EXPECT_EQ("<ndcs/>", NdcList3("zulu", 0, kTestBase));
    EXPECT_EQ("<ndcs/>", NdcList3("", 0, std::string(kTestBase) + "\\Fehlt"));
    EXPECT_EQ("<ndcs/>", NdcList3("", 0, std::string(kTestBase) + "\\alpha"));
}

TEST_F(NdcDownloadList, ResultIsTheRootElementWithoutDeclaration)
{
    std::string xml = NdcList3("alpha", 0, kTestBase);
    EXPECT_EQ(0u, xml.find("<ndcs>")) << xml;
    EXPECT_NE(std::string::npos, xml.find("<Name>Alpha &amp; Co</Name>")) << xml;
    EXPECT_EQ(xml.size() - 7, xml.rfind("</ndcs>")) << xml;
}

TEST(NdcDownloadList2, ReadsTheSuitesInstalledProductsKey)
{
    InstalledProducts products("Software\\Norvane\\Installiert");
    Listed listed = {"Katalogtest", "nvcattest", "", "", "http://upd.example/cat.ndc"};
    listed.ndcPath = products.WriteNdc("cattest.ndc", NdcHeader(listed.redirUrl, "", "1"));
    products.Register(listed.subKey, listed.name, listed.ndcPath);
    auto getNdc2 = NvinfoModule::Proc<PFN_NV_GETNDCTODOWNLOAD2>("GetNdcToDownload2");
    InitialiseCallerCom();
    EXPECT_EQ(List({listed}), XmlTextOutline(TakeBstrText(getNdc2("nvcattest", 1))));
}

struct ListCall {
    PFN_NV_GETNDCTODOWNLOAD2 getNdc2;
    BSTR result;
};

DWORD WINAPI CallWithoutCom(void* context)
{
    ListCall* call = static_cast<ListCall*>(context);
    call->result = call->getNdc2("", 0);
    return 0;
}

TEST(NdcDownloadList2, RelyOnTheCallerHavingInitialisedCom)
{
    // A thread of its own, on which nobody has initialised COM: the list
    // cannot be made and no text comes back.
    ListCall call = {NvinfoModule::Proc<PFN_NV_GETNDCTODOWNLOAD2>("GetNdcToDownload2"),
              reinterpret_cast<BSTR>(1)};
    HANDLE thread = CreateThread(nullptr, 0, CallWithoutCom, &call, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    CloseHandle(thread);
    EXPECT_EQ(nullptr, call.result);
}

} // namespace
