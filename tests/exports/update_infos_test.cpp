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

namespace {

const char kInstalled[] = "Software\\Norvane\\Installiert";
const char kDataFolderKey[] = "Software\\Norvane\\Gemeinsame Dateien\\Update Manager\\Verzeichnisse";
const char kFeedFolderKey[] = "Software\\NvinfoCatalogueTest\\Feeds";

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

struct UpdateRow {
    const char* section;
    const char* name;
    const char* tooltip;
    const char* size;
    const char* infoText;
    const char* infoFile;
    const char* fileUrl;
    const char* dateVer;
    const char* file;
    const char* destination;
    const char* state;
    const char* severity;
    const char* summary;
    const char* download;
    const char* update;
    const char* elster;
};

std::string Child(const char* name, const char* text)
{
    return std::string("<") + name + ">" + text + "</" + name + ">";
}

std::string UpdateOutline(const UpdateRow& row)
{
    return "<Update>" + Child("Section", row.section) + Child("Name", row.name) +
           Child("Tooltip", row.tooltip) + Child("Size", row.size) +
           Child("InfoText", row.infoText) + Child("InfoFile", row.infoFile) +
           Child("FileURL", row.fileUrl) + Child("DateVer", row.dateVer) +
           Child("File", row.file) + Child("Destination", row.destination) +
           Child("State", row.state) + Child("Severity", row.severity) +
           Child("Summary", row.summary) + Child("Download", row.download) +
           Child("Update", row.update) + Child("Elster", row.elster) +
           Child("WantDownload", "1") + "</Update>";
}

// The items of kItems that a pushing product lists, in file order.
std::string ListedUpdates()
{
    return "<Updates>" +
           UpdateOutline({"upd1", "Erstes Update", "Tipp &amp; mehr", "2048", "Infotext",
                          "info.htm", "http://upd.example/upd1.exe", "7", "upd1.exe", "-S\\Sub",
                          "neu", "hoch", "&lt;b&gt;kurz&lt;/b&gt;", "1", "0", "1"}) +
           UpdateOutline({"upd3", "Mit Run", "", "0", "", "", "", "4", "", "", "", "", "", "0",
                          "1", "0"}) +
           UpdateOutline({"!extra", "!extra", "", "0", "", "", "", "1", "", "", "", "", "", "0",
                          "0", "0"}) +
           "</Updates>";
}

std::string InfoOutline(int updates, int news, int days)
{
    return "<Info>" + Child("Updates", std::to_string(updates).c_str()) +
           Child("News", std::to_string(news).c_str()) +
           Child("Days", std::to_string(days).c_str()) + "</Info>";
}

struct Infos {
    int result;
    int news;
    int updates;
    int days;
    std::string outline;
    bool declaration;
    std::vector<CapturedDialog> dialogs;
};

class UpdateInfos : public ::testing::Test {
protected:
    UpdateInfos() : m_products(kInstalled)
    {
        m_registry.SetString(HKEY_LOCAL_MACHINE, kDataFolderKey, "Daten", m_data.Path());
        m_registry.SetString(HKEY_LOCAL_MACHINE, kFeedFolderKey, "Ordner", m_feeds.Path());
        m_config.Write(UpdateManagerConfigXml("ModeAutomatic", GermanLocalTime(-(3 * 24 + 1) * 60)));
    }

    // A feed for `product` with one item per guid; returns the item outlines
    // as they reach the channel, after the feed's title.
    std::string AddFeed(const std::string& product, std::initializer_list<const char*> guids)
    {
        const std::string feedName = "nvcat-" + product + ".xml";
        std::string items;
        std::string outline = "<title>News " + product + "</title>";
        const std::string feedPath = m_feeds.File(feedName);
        for (const char* guid : guids) {
            items += std::string("<item><guid>") + guid + "</guid><description>  Text " + guid +
                     "\r\n</description></item>";
            outline += std::string("<item read=\"0\" feedurl=\"") + feedPath + "\"><guid>" + guid +
                       "</guid><description>Text " + guid + "</description></item>";
        }
        m_feeds.Write(feedName, "<rss><channel><title>News " + product + "</title>" + items +
                                    "</channel></rss>");
        m_data.Write(product + ".feed",
                     "<NvFeeds><NvFeed><Url>http://news.example/" + feedName +
                         "</Url><RegistryDestination>HKLM\\" + kFeedFolderKey +
                         "\\Ordner</RegistryDestination></NvFeed></NvFeeds>");
        return outline;
    }

    void RegisterPushingProduct(const std::string& subKey, const std::string& push = "1")
    {
        std::string ndc = m_products.WriteNdc(subKey + ".ndc",
                                              NdcHeader("http://upd.example/x.ndc", "", push) + kItems);
        m_products.Register(subKey, "Katalogtest", ndc);
    }

    Infos Read(const char* product, bool withDocument = true)
    {
        auto getUpdateInfos = NvinfoModule::Proc<PFN_NV_GETUPDATEINFOS>("GetUpdateInfos");
        Infos infos = {};
        infos.news = infos.updates = infos.days = 99;
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

TEST_F(UpdateInfos, GathersNewsWaitingUpdatesAndDays)
{
    RegisterPushingProduct("nvcatinfo");
    const std::string news = AddFeed("nvcatinfo", {"g1", "g2"});
    // The registered subkey is found in any case; the news use the text as passed.
    Infos infos = Read("NvCatInfo");
    EXPECT_EQ(0, infos.result);
    EXPECT_EQ(2, infos.news);
    EXPECT_EQ(3, infos.updates);
    EXPECT_EQ(3, infos.days);
    EXPECT_TRUE(infos.declaration);
    EXPECT_EQ("<rss><channel>" + news + "</channel>" + ListedUpdates() + InfoOutline(3, 2, 3) +
                  "</rss>",
              infos.outline);
    EXPECT_TRUE(infos.dialogs.empty());
}

TEST_F(UpdateInfos, UpdatesOnlyForAPushingProductWithALoadableNdcFile)
{
    enum Setup { kPush0, kNoPushKey, kMissingNdcFile, kEmptyNdcValue, kNotRegistered };
    struct Row {
        const char* name;
        const char* subKey;
        Setup setup;
    } rows[] = {
        {"push 0", "nvcatpush0", kPush0},
        {"no push key", "nvcatnopush", kNoPushKey},
        {"missing NDC file", "nvcatmissing", kMissingNdcFile},
        {"empty NDC value", "nvcatempty", kEmptyNdcValue},
        {"not registered", "nvcatnone", kNotRegistered},
    };
    for (const Row& row : rows) {
        if (row.setup == kPush0)
            RegisterPushingProduct(row.subKey, "0");
        else if (row.setup == kNoPushKey)
            RegisterPushingProduct(row.subKey, "");
        else if (row.setup == kMissingNdcFile)
            m_products.Register(row.subKey, "Fehlt", m_products.MissingFile("fehlt.ndc"));
        else if (row.setup == kEmptyNdcValue)
            m_products.Register(row.subKey, "Leer", "");
        const std::string news = AddFeed(row.subKey, {"n1"});
        Infos infos = Read(row.subKey);
        EXPECT_EQ(0, infos.result) << row.name;
        EXPECT_EQ(0, infos.updates) << row.name;
        EXPECT_EQ(1, infos.news) << row.name;
        EXPECT_EQ("<rss><channel>" + news + "</channel>" + InfoOutline(0, 1, 3) + "</rss>",
                  infos.outline)
            << row.name;
    }
}

TEST_F(UpdateInfos, PushingProductWithNothingWaitingHasAnEmptyUpdatesElement)
{
    std::string ndc = m_products.WriteNdc(
        "done.ndc", NdcHeader("http://upd.example/x.ndc", "", "1") +
                        "[a]\r\nDateVer=2\r\nUpdate=1\r\n\r\n[b]\r\nDateVer=3\r\nUpdate=1\r\n");
    m_products.Register("nvcatdone", "Fertig", ndc);
    m_config.Remove();
    Infos infos = Read("nvcatdone");
    EXPECT_EQ(0, infos.updates);
    EXPECT_EQ(0, infos.news);
    EXPECT_EQ(-1, infos.days);
    EXPECT_EQ("<rss><channel></channel><Updates></Updates>" + InfoOutline(0, 0, -1) + "</rss>",
              infos.outline);
}

TEST_F(UpdateInfos, GroupIsOneEntryAndNumbersKeepTheirSign)
{
    std::string ndc = m_products.WriteNdc(
        "group.ndc", NdcHeader("http://upd.example/x.ndc", "", "1") +
                         "[teil1]\r\nDateVer=2\r\nSize=600 kB\r\nMyGroup=paket\r\n\r\n"
                         "[teil2]\r\nDateVer=2\r\nSize=700kb\r\nMyGroup=paket\r\n\r\n"
                         "[paket]\r\nName=Paket\r\nDateVer=2\r\n\r\n"
                         "[minus]\r\nDateVer=-5\r\nSize=-3 kB\r\n");
    m_products.Register("nvcatgroup", "Gruppe", ndc);
    Infos infos = Read("nvcatgroup");
    EXPECT_EQ(2, infos.updates);
    EXPECT_EQ("<rss><channel></channel><Updates>" +
                  UpdateOutline({"paket", "Paket", "", "1300", "", "", "", "2", "", "", "", "",
                                 "", "0", "0", "0"}) +
                  UpdateOutline({"minus", "minus", "", "-3", "", "", "", "-5", "", "", "", "", "",
                                 "0", "0", "0"}) +
                  "</Updates>" + InfoOutline(2, 0, 3) + "</rss>",
              infos.outline);
}

TEST_F(UpdateInfos, NvproCountsTheNewsOfTheWholeSuiteInTableOrder)
{
    const std::string own = AddFeed("nvpro", {"p1"});
    const std::string xj = AddFeed("xjpro", {"x1", "x2"});
    const std::string qd = AddFeed("qdpro", {"q1"});
    const std::string zg = AddFeed("zgpro", {"z1"});
    Infos infos = Read("nvpro");
    EXPECT_EQ(5, infos.news);
    EXPECT_EQ("<rss><channel>" + own + qd + zg + xj + "</channel>" + InfoOutline(0, 5, 3) +
                  "</rss>",
              infos.outline);
    // Only the exact code stands for the suite.
    infos = Read("NVPRO");
    EXPECT_EQ(1, infos.news);
    EXPECT_EQ("<rss><channel>" + own + "</channel>" + InfoOutline(0, 1, 3) + "</rss>",
              infos.outline);
}

TEST_F(UpdateInfos, UnreadableNewsAreReportedAndTheRestGoesOn)
{
    RegisterPushingProduct("nvcatbroken");
    m_data.Write("nvcatbroken.feed", "<NvFeeds><NvFeed></NvFeeds>");
    Infos infos = Read("nvcatbroken");
    EXPECT_EQ(0, infos.result);
    EXPECT_EQ(0, infos.news);
    EXPECT_EQ(3, infos.updates);
    ASSERT_EQ(1u, infos.dialogs.size());
    EXPECT_EQ(0u, infos.dialogs[0].text.find(
                      "Es trat ein Fehler beim Lesen der News f\xFCr das Produkt 'nvcatbroken' auf."))
        << infos.dialogs[0].text;
    EXPECT_EQ("<rss><channel></channel>" + ListedUpdates() + InfoOutline(3, 0, 3) + "</rss>",
              infos.outline);
}

TEST_F(UpdateInfos, EmptyProductTouchesNothing)
{
    auto getUpdateInfos = NvinfoModule::Proc<PFN_NV_GETUPDATEINFOS>("GetUpdateInfos");
    for (const char* product : {"", static_cast<const char*>(nullptr)}) {
        int news = 11, updates = 22, days = 33;
        IDispatch* document = reinterpret_cast<IDispatch*>(0x1234);
        EXPECT_EQ(E_INVALIDARG, getUpdateInfos(product, &news, &updates, &days, &document));
        EXPECT_EQ(11, news);
        EXPECT_EQ(22, updates);
        EXPECT_EQ(33, days);
        EXPECT_EQ(reinterpret_cast<IDispatch*>(0x1234), document);
    }
}

TEST_F(UpdateInfos, CountsAlsoWithoutDocumentPointer)
{
    RegisterPushingProduct("nvcatcounts");
    AddFeed("nvcatcounts", {"c1"});
    Infos infos = Read("nvcatcounts", false);
    EXPECT_EQ(0, infos.result);
    EXPECT_EQ(1, infos.news);
    EXPECT_EQ(3, infos.updates);
    EXPECT_EQ(3, infos.days);
    EXPECT_TRUE(infos.dialogs.empty());
}

} // namespace
