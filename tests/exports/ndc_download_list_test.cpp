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
    std::string name, subKey, ndcPath, localUrl, redirUrl;
};

// The list as the update manager reads it: the indentation text nodes stand
// where it expects them.
std::string List(std::initializer_list<Listed> entries)
{
    std::string list = "<ndcs>";
    for (const Listed& listed : entries) {
        std::string ndc = listed.ndcPath;
        std::transform(ndc.begin(), ndc.end(), ndc.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        list += "\n\t<ndc>\n\t\t<Name>" + XmlEscaped(listed.name) + "</Name><regSubPath>" +
                listed.subKey + "</regSubPath>\n\t\t<NDCFilename>" + ndc +
                "</NDCFilename>\n\t\t<LocalUrl>" + listed.localUrl + "</LocalUrl>\n\t\t<RedirURL>" +
                listed.redirUrl + "</RedirURL></ndc>";
    }
    return list + "</ndcs>";
}

// The outline of a list; the update manager has initialised COM before it asks.
std::string Outline(BSTR result)
{
    const std::string xml = TakeBstrText(result);
    EXPECT_EQ(0u, xml.find("<ndcs")) << "no declaration: " << xml;
    return XmlTextOutline(xml);
}

class NdcDownloadList : public ::testing::Test {
protected:
    NdcDownloadList() : m_products(kTestBase)
    {
        CoInitialize(nullptr);
        // Subkeys in the registry's (alphabetical) order.
        m_alpha = {"Alpha & Co", "alpha", "", "\\\\server\\ndc\\alpha", "http://upd.example/alpha.ndc"};
        Add(m_alpha, "Alpha.NDC", "1", "[item1]\r\nName=Eins\r\nDateVer=3\r\n");
        m_bravo = {"Bravo", "Bravo", "", "", "http://upd.example/bravo.ndc"};
        Add(m_bravo, "bravo.ndc", "", "");
        // Left out: no NDC value, a missing NDC file, a header without RedirURL.
        m_products.Register("charlie", "Charlie", "");
        m_products.Register("delta", "Delta", m_products.MissingFile("delta.ndc"));
        m_products.Register("echo", "Echo", m_products.WriteNdc("echo.ndc", NdcHeader("", "C:\\lokal", "1")));
        // Neither "Push" 0 nor 2 count as pushing.
        m_products.Register("foxtrot", "Foxtrot", m_products.WriteNdc("fox.ndc", NdcHeader("http://f", "", "0")));
        m_nvpro = {"Norvane Pro", "nvpro", "", "C:\\Daten\\lokal", "http://upd.example/nvpro.ndc"};
        Add(m_nvpro, "NvPro.Ndc", "2", "");
    }

    void Add(Listed& listed, const std::string& file, const std::string& push, const std::string& items)
    {
        listed.ndcPath = m_products.WriteNdc(file, NdcHeader(listed.redirUrl, listed.localUrl, push) + items);
        m_products.Register(listed.subKey, listed.name, listed.ndcPath);
    }

    InstalledProducts m_products;
    Listed m_alpha, m_bravo, m_nvpro;
};

TEST_F(NdcDownloadList, FilterIsAPlainSubstringTestInAnyCaseAndPushOnlyWantsPush1)
{
    const Listed fox = {"Foxtrot", "foxtrot", m_products.MissingFile("fox.ndc"), "", "http://f"};
    const struct {
        const char* filter;
        int pushOnly;
        std::string base, expected;
    } rows[] = {
        {"", 0, kTestBase, List({m_alpha, m_bravo, fox, m_nvpro})},
        {nullptr, 0, kTestBase, List({m_alpha, m_bravo, fox, m_nvpro})},
        {"ALPHA", 0, kTestBase, List({m_alpha})},
        {"alpha;bravo", 0, kTestBase, List({m_alpha, m_bravo})},
        {"bravo alpha", 0, kTestBase, List({m_alpha, m_bravo})},
        {"nvproplus", 0, kTestBase, List({m_nvpro})},
        {"charlie;delta;echo", 0, kTestBase, "<ndcs></ndcs>"},
        {"zulu", 0, kTestBase, "<ndcs></ndcs>"},
        {"", 1, kTestBase, List({m_alpha})},
        {"", 2, kTestBase, List({m_alpha})},
        {"", -1, kTestBase, List({m_alpha})},
        {"", 0, std::string(kTestBase) + "\\Fehlt", "<ndcs></ndcs>"},
        {"", 0, std::string(kTestBase) + "\\alpha", "<ndcs></ndcs>"},
    };
    auto getNdc3 = NvinfoModule::Proc<PFN_NV_GETNDCTODOWNLOAD3>("GetNdcToDownload3");
    for (const auto& row : rows) {
        DialogCapture dialogs;
        EXPECT_EQ(row.expected, Outline(getNdc3(row.filter, row.pushOnly, row.base.c_str())))
            << (row.filter ? row.filter : "(null)") << " push-only " << row.pushOnly << " " << row.base;
        EXPECT_TRUE(dialogs.Dialogs().empty());
    }
}

TEST(NdcDownloadList2, ReadsTheSuitesInstalledProductsKey)
{
    InstalledProducts products("Software\\Norvane\\Installiert");
    Listed listed = {"Katalogtest", "nvcattest", "", "", "http://upd.example/cat.ndc"};
    listed.ndcPath = products.WriteNdc("cattest.ndc", NdcHeader(listed.redirUrl, "", "1"));
    products.Register(listed.subKey, listed.name, listed.ndcPath);
    auto getNdc2 = NvinfoModule::Proc<PFN_NV_GETNDCTODOWNLOAD2>("GetNdcToDownload2");
    CoInitialize(nullptr);
    EXPECT_EQ(List({listed}), Outline(getNdc2("nvcattest", 1)));
}

} // namespace
