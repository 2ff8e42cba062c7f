// GetUpdateInfos against product keys, an NDC file, news feeds in a data
// folder and the update manager's settings file: the counts and the whole
// document, node by node.
#include "installed_products.h"
#include "update_manager_config.h"
#include "xml_outline.h"

#include "dialog_capture.h"
#include "harness/nvinfo_module.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const char kDataFolderKey[] = "Software\\Norvane\\Gemeinsame Dateien\\Update Manager\\Verzeichnisse";
const char kFeedFolderKey[] = "Software\\NvinfoCatalogueTest\\Feeds";
const char kPushing[] = "http://upd.example/x.ndc";

// An NDC file with every kind of section the update infos must sort out.
const char kItems[] =
    "[Konfiguration]\r\nName=Einstellungen\r\n\r\n"
    "[Upd1]\r\nName=Erstes Update\r\nTooltip=Tipp & mehr\r\nSize=2048\r\nInfo=Infotext;info.htm\r\n"
    "FileURL=http://upd.example/upd1.exe\r\nDateVer=7\r\nFile=upd1.exe\r\nDestination=-S\\Sub\r\n"
    "State=neu\r\nSeverity=hoch\r\nSummary=<b>kurz</b>\r\nDownload=1\r\nElster=1\r\n\r\n"
    "[upd2]\r\nName=Installiert\r\nDateVer=3\r\nUpdate=1\r\n\r\n"
    "[upd3]\r\nName=Mit Run\r\nDateVer=4\r\nUpdate=1\r\nRun=setup.exe\r\nDownload=2\r\n\r\n"
    "[upd4]\r\nName=Nicht hier\r\nDateVer=5\r\nInstalliert=/EHKLM\\SOFTWARE\\NvinfoCatalogueMissing\\X\r\n\r\n"
    "[!extra]\r\nDateVer=1\r\n\r\n";

// The children of an Update element, in their order, with the values of one row.
std::string UpdateOutline(std::initializer_list<std::string> values)
{
    static const char* const names[] = {
        "Section", "Name",  "Tooltip",  "Size",    "InfoText", "InfoFile", "FileURL", "DateVer",
        "File",    "Destination", "State", "Severity", "Summary", "Download", "Update", "Elster"};
    return "<Update>" + ElementsOutline(names, values) + "<WantDownload>1</WantDownload></Update>";
}

// The items of kItems that a pushing product lists, in file order.
std::string ListedUpdates()
{
    return "<Updates>" +
           UpdateOutline({"upd1", "Erstes Update", "Tipp & mehr", "2048", "Infotext",
                          "info.htm", "http://upd.example/upd1.exe", "7", "upd1.exe", "-S\\Sub",
                          "neu", "hoch", "<b>kurz</b>", "1", "0", "1"}) +
           UpdateOutline({"upd3", "Mit Run", "", "0", "", "", "", "4", "", "", "", "", "", "0",
                          "1", "0"}) +
           UpdateOutline({"!extra", "!extra", "", "0", "", "", "", "1", "", "", "", "", "", "0",
                          "0", "0"}) +
           "</Updates>";
}

std::string InfoOutline(int updates, int news)
{
    return "<Info><Updates>" + std::to_string(updates) + "</Updates><News>" +
           std::to_string(news) + "</News><Days>3</Days></Info>";
}

struct Infos {
    int result, news, updates, days;
    std::string outline;
    bool declaration;
    std::vector<CapturedDialog> dialogs;
    std::tuple<int, int, int, int> Counts() const { return {result, updates, news, days}; }
};

class UpdateInfos : public ::testing::Test {
protected:
    UpdateInfos() : m_products("Software\\Norvane\\Installiert")
    {
        m_registry.SetString(HKEY_LOCAL_MACHINE, kDataFolderKey, "Daten", m_data.Path());
        m_registry.SetString(HKEY_LOCAL_MACHINE, kFeedFolderKey, "Ordner", m_feeds.Path());
        m_config.Write(UpdateManagerConfigXml("ModeAutomatic", GermanLocalTime(-(3 * 24 + 1) * 60)));
    }

    // A feed for `product` with one item per guid; returns the outline of
    // what reaches the channel: the feed's title, then the items.
    std::string AddFeed(const std::string& product, std::initializer_list<const char*> guids)
    {
        const std::string feedName = "nvcat-" + product + ".xml";
        std::string items;
        std::string outline = "<title>News " + product + "</title>";
        for (const char* guid : guids) {
            items += std::string("<item><guid>") + guid + "</guid><description>  Text " + guid +
                     "\r\n</description></item>";
            outline += "<item read=\"0\" feedurl=\"" + m_feeds.File(feedName) + "\"><guid>" +
                       guid + "</guid><description>Text " + guid + "</description></item>";
        }
        m_feeds.Write(feedName, "<rss><channel><title>News " + product + "</title>" + items +
                                    "</channel></rss>");
        m_data.Write(product + ".feed",
                     "<NvFeeds><NvFeed><Url>http://news.example/" + feedName +
                         "</Url><RegistryDestination>HKLM\\" + kFeedFolderKey +
                         "\\Ordner</RegistryDestination></NvFeed></NvFeeds>");
        return outline;
    }

    Infos Read(const char* product, bool withDocument = true)
    {
        auto getUpdateInfos = NvinfoModule::Proc<PFN_NV_GETUPDATEINFOS>("GetUpdateInfos");
        Infos infos = {0, 99, 99, 99, "", false, {}};
        IDispatch* document = nullptr;
        DialogCapture dialogs;
        infos.result = getUpdateInfos(product, &infos.news, &infos.updates, &infos.days,
                                      withDocument ? &document : nullptr);
        infos.dialogs = dialogs.Dialogs();
        infos.outline = TakeDocumentOutline(document, &infos.declaration);
        return infos;
    }

    InstalledProducts m_products;
    TempFolder m_data;
    TempFolder m_feeds;
    RegistrySandbox m_registry;
    UpdateManagerConfigFile m_config;
};

TEST_F(UpdateInfos, UpdatesBeforeNewsBeforeDays)
{
    auto ndc = [this](const char* subKey, const std::string& content) {
        return m_products.WriteNdc(std::string(subKey) + ".ndc", content);
    };
    const struct {
        const char* name;
        const char* subKey;
        bool registered;
        std::string ndcValue;
        int updates;
        std::string listed;
    } rows[] = {
        {"pushing", "nvcatinfo", true, ndc("nvcatinfo", NdcHeader(kPushing, "", "1") + kItems), 3,
         ListedUpdates()},
        {"push 0", "nvcatpush0", true, ndc("p0", NdcHeader(kPushing, "", "0") + kItems), 0, ""},
        {"no push key", "nvcatnopush", true, ndc("np", NdcHeader(kPushing, "", "") + kItems), 0, ""},
        {"missing NDC file", "nvcatmissing", true, m_products.MissingFile("fehlt.ndc"), 0, ""},
        {"empty NDC value", "nvcatempty", true, "", 0, ""},
        {"not registered", "nvcatnone", false, "", 0, ""},
        {"nothing waiting", "nvcatdone", true,
         ndc("done", NdcHeader(kPushing, "", "1") + "[a]\r\nDateVer=2\r\nUpdate=1\r\n"), 0,
         "<Updates></Updates>"},
    };
    for (const auto& row : rows) {
        if (row.registered)
            m_products.Register(row.subKey, "Katalogtest", row.ndcValue);
        const std::string news = AddFeed(row.subKey, {"g1", "g2"});
        // The registered subkey is found in any case.
        std::string asked = row.subKey;
        asked[0] = 'N';
        Infos infos = Read(asked.c_str());
        EXPECT_EQ(std::make_tuple(0, row.updates, 2, 3), infos.Counts()) << row.name;
        EXPECT_TRUE(infos.declaration) << row.name;
        EXPECT_EQ("<rss><channel>" + news + "</channel>" + row.listed +
                      InfoOutline(row.updates, 2) + "</rss>",
                  infos.outline) << row.name;
        EXPECT_TRUE(infos.dialogs.empty()) << row.name;
        // The counts come also without a document pointer.
        EXPECT_EQ(std::make_tuple(0, row.updates, 2, 3), Read(asked.c_str(), false).Counts())
            << row.name;
    }
}

TEST_F(UpdateInfos, NvproAddsTheNewsOfTheSixProductsInTableOrder)
{
    const std::string own = AddFeed("nvpro", {"p1"});
    const std::string xj = AddFeed("xjpro", {"x1", "x2"});
    const std::string qd = AddFeed("qdpro", {"q1"});
    const std::string zg = AddFeed("zgpro", {"z1"});
    Infos infos = Read("nvpro");
    EXPECT_EQ(5, infos.news);
    EXPECT_EQ("<rss><channel>" + own + qd + zg + xj + "</channel>" + InfoOutline(0, 5) + "</rss>",
              infos.outline);
    // Only the exact code stands for the suite.
    infos = Read("NVPRO");
    EXPECT_EQ(1, infos.news);
    EXPECT_EQ("<rss><channel>" + own + "</channel>" + InfoOutline(0, 1) + "</rss>", infos.outline);
}

TEST_F(UpdateInfos, UnreadableNewsAreReportedAndTheRestGoesOn)
{
    m_products.Register("nvcatbroken", "Kaputt",
                        m_products.WriteNdc("b.ndc", NdcHeader(kPushing, "", "1") + kItems));
    m_data.Write("nvcatbroken.feed", "<NvFeeds><NvFeed></NvFeeds>");
    Infos infos = Read("nvcatbroken");
    EXPECT_EQ(std::make_tuple(0, 3, 0, 3), infos.Counts());
    ASSERT_EQ(1u, infos.dialogs.size());
    EXPECT_EQ(0u, infos.dialogs[0].text.find(
                      "Es trat ein Fehler beim Lesen der News f\xFCr das Produkt 'nvcatbroken' auf."))
        << infos.dialogs[0].text;
    EXPECT_EQ("<rss><channel></channel>" + ListedUpdates() + InfoOutline(3, 0) + "</rss>",
              infos.outline);
}

TEST_F(UpdateInfos, EmptyProductTouchesNothing)
{
    auto getUpdateInfos = NvinfoModule::Proc<PFN_NV_GETUPDATEINFOS>("GetUpdateInfos");
    for (const char* product : {"", static_cast<const char*>(nullptr)}) {
        int news = 11, updates = 22, days = 33;
        IDispatch* document = reinterpret_cast<IDispatch*>(0x1234);
        EXPECT_EQ(E_INVALIDARG, getUpdateInfos(product, &news, &updates, &days, &document));
        EXPECT_EQ(std::make_tuple(11, 22, 33), std::make_tuple(news, updates, days));
        EXPECT_EQ(reinterpret_cast<IDispatch*>(0x1234), document);
    }
}

} // namespace
