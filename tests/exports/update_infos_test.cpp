// The update manager's exports: GetUpdateMode and GetDaysSinceLastCheck against its real settings
// file in the all-users folder, GetNdcToDownload2/3 and GetUpdateInfos against product keys, NDC
// files and news feeds. Keys, files and folders are put back as found.
#include "news_fixture.h"
#include "support/text.h"

#include <objbase.h>

#include <ctime>

namespace {

// A header section of an NDC file; keys with an empty value are left out.
std::string NdcHeader(const std::string& redirUrl, const std::string& localUrl,
                      const std::string& push)
{
    return "[Header]\r\nName=Kopf\r\nDateVer=1\r\n" +
           (redirUrl.empty() ? "" : "RedirURL=" + redirUrl + "\r\n") +
           (localUrl.empty() ? "" : "LocalURL=" + localUrl + "\r\n") +
           (push.empty() ? "" : "Push=" + push + "\r\n") + "\r\n";
}

struct Listed { // a product as the download list names it
    std::string name, subKey, ndcPath, localUrl, redirUrl;
};

// Product keys with their "Name" and "NDC" values, NDC files in a folder of the test's own.
struct InstalledProducts {
    explicit InstalledProducts(const std::string& baseKey) : baseKey(baseKey) {}
    void Register(const std::string& subKey, const std::string& name, const std::string& ndcPath)
    {
        registry.Set(HKEY_LOCAL_MACHINE, baseKey + "\\" + subKey, "Name", name);
        registry.Set(HKEY_LOCAL_MACHINE, baseKey + "\\" + subKey, "NDC", ndcPath);
    }
    void Add(Listed& entry, const std::string& file, const char* push, const char* items)
    {
        entry.ndcPath = files.Write(file, NdcHeader(entry.redirUrl, entry.localUrl, push) + items);
        Register(entry.subKey, entry.name, entry.ndcPath);
    }

    std::string baseKey;
    TempFolder files;
    RegistrySandbox registry;
};

// The update manager's settings file in the all-users folder.
std::string ConfigPath()
{
    char folder[MAX_PATH] = "";
    ExpandEnvironmentStringsA("%ProgramData%", folder, MAX_PATH);
    return std::string(folder) + "\\Norvane\\Update Manager\\Daten\\updatemanager-config.xml";
}

std::string ConfigXml(const std::string& updateMode, const std::string& lastCheck)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UpdateManagerConfig>\r\n  <UpdateMode>" +
           updateMode + "</UpdateMode>\r\n  <LastSuccessfulCheck>" + lastCheck +
           "</LastSuccessfulCheck>\r\n</UpdateManagerConfig>\r\n";
}

// The local clock moved by `minutes`, in the update manager's notation.
std::string MinutesFromNow(long long minutes)
{
    const time_t moment = time(nullptr) + static_cast<time_t>(minutes * 60);
    char text[32] = "";
    strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", localtime(&moment));
    return text;
}

TEST(UpdateManagerSettings, ModeAndDaysFromTheSettingsFile)
{
    const struct {
        const char* name;
        std::string content;
        int mode, days;
    } rows[] = {
        {"no settings file", "", 1, -1},
        {"empty file", "", 0, -1},
        {"not direct children",
         "<c><x><UpdateMode>ModeAutomatic</UpdateMode><LastSuccessfulCheck>"
         "01.03.2024</LastSuccessfulCheck></x></c>",
         0, -1},
        {"lower case", ConfigXml("modedontcheck", MinutesFromNow(-25 * 60)), 0, 1},
        {"other word", ConfigXml("ModeDontCheckNow", "gestern"), 1, 0},
        {"36 hours ahead", ConfigXml("ModeAutomatic", MinutesFromNow(36 * 60)), 1, -1},
    };
    auto getMode = NvinfoModule::Proc<PFN_NV_NOARGS>("GetUpdateMode");
    auto getDays = NvinfoModule::Proc<PFN_NV_NOARGS>("GetDaysSinceLastCheck");
    PlacedFile file(ConfigPath());
    for (const auto& row : rows) {
        &row == rows ? file.Remove() : file.Write(row.content);
        DialogCapture dialogs;
        EXPECT_EQ(row.mode, getMode()) << row.name;
        EXPECT_EQ(row.days, getDays()) << row.name;
        EXPECT_TRUE(dialogs.Dialogs().empty()) << row.name;
    }
}

const char kTestBase[] = "Software\\NvinfoCatalogueTest\\Installiert";

// The list as the update manager reads it (indentation aside).
std::string List(std::initializer_list<Listed> entries)
{
    static const char* const names[] = {"Name", "regSubPath", "NDCFilename", "LocalUrl",
                                        "RedirURL"};
    std::string list = "<ndcs>";
    for (const Listed& listed : entries) {
        std::string ndc = listed.ndcPath;
        CharLowerBuffA(&ndc[0], ndc.size());
        list += "<ndc>" +
                XmlElements(names,
                            {listed.name, listed.subKey, ndc, listed.localUrl, listed.redirUrl}) +
                "</ndc>";
    }
    return NormalXml(list + "</ndcs>", false);
}

// A list, which comes without declaration.
std::string ListXml(BSTR result)
{
    const std::string xml = TakeBstrText(result);
    EXPECT_EQ(0u, xml.find("<ndcs")) << xml;
    return NormalXml(xml, false);
}

TEST(NdcDownloadList, FilterIsAPlainSubstringTestInAnyCaseAndPushOnlyWantsPush1)
{
    CoInitialize(nullptr);
    InstalledProducts products(kTestBase);
    Listed alpha = {"Alpha & Co", "alpha", "", "\\\\server\\ndc\\alpha", "http://upd/alpha.ndc"};
    products.Add(alpha, "Alpha.NDC", "1", "[item1]\r\nName=Eins\r\nDateVer=3\r\n");
    Listed bravo = {"Bravo", "Bravo", "", "", "http://upd.example/bravo.ndc"};
    products.Add(bravo, "bravo.ndc", "", "");
    // Left out: no NDC value, a missing NDC file, a header without RedirURL.
    products.Register("charlie", "Charlie", "");
    products.Register("delta", "Delta", products.files.File("delta.ndc"));
    products.Register("echo", "Echo", products.files.Write("e.ndc", NdcHeader("", "C:\\lok", "1")));
    Listed fox = {"Foxtrot", "foxtrot", "", "", "http://f"};
    products.Add(fox, "fox.ndc", "0", "");
    Listed nvpro = {"Norvane Pro", "nvpro", "", "C:\\Daten\\lokal", "http://upd.example/nvpro.ndc"};
    products.Add(nvpro, "NvPro.Ndc", "2", ""); // neither "Push" 0 nor 2 count as pushing
    const struct {
        const char* filter;
        int pushOnly;
        std::string expected;
    } rows[] = {
        {nullptr, 0, List({alpha, bravo, fox, nvpro})},
        {"ALPHA", 0, List({alpha})},
        {"bravo;nvproplus", 0, List({bravo, nvpro})},
        {"charlie;delta;echo", 0, NormalXml("<ndcs/>")},
        {"", 2, List({alpha})},
    };
    auto getNdc3 = NvinfoModule::Proc<PFN_NV_GETNDCTODOWNLOAD3>("GetNdcToDownload3");
    for (const auto& row : rows) {
        DialogCapture dialogs;
        EXPECT_EQ(row.expected, ListXml(getNdc3(row.filter, row.pushOnly, kTestBase)))
            << (row.filter ? row.filter : "(null)") << " push-only " << row.pushOnly;
        EXPECT_TRUE(dialogs.Dialogs().empty());
    }
    EXPECT_EQ(NormalXml("<ndcs/>"),
              ListXml(getNdc3("", 0, "Software\\NvinfoCatalogueTest\\Fehlt")));
}

const char kPushing[] = "http://upd.example/x.ndc";

// An NDC file with every kind of section the update infos must sort out; sections beginning
// with "!", "~" or "@" are not left out by their name here.
const char kItems[] =
    "[Konfiguration]\r\nName=Einstellungen\r\n\r\n"
    "[Upd1]\r\nName=Erstes Update\r\nTooltip=Tipp & mehr\r\nSize=2048\r\nInfo=Infotext;info.htm\r\n"
    "FileURL=http://upd.example/upd1.exe\r\nDateVer=7\r\nFile=upd1.exe\r\nDestination=-S\\Sub\r\n"
    "State=neu\r\nSeverity=hoch\r\nSummary=<b>kurz</b>\r\nDownload=1\r\nElster=1\r\n\r\n"
    "[upd2]\r\nName=Installiert\r\nDateVer=3\r\nUpdate=1\r\n\r\n"
    "[upd3]\r\nName=Mit Run\r\nDateVer=4\r\nUpdate=1\r\nRun=setup.exe\r\nDownload=2\r\n\r\n"
    "[upd4]\r\nName=Nicht hier\r\nDateVer=5\r\nInstalliert=/EHKLM\\SOFTWARE\\NvcatFehlt\\X\r\n\r\n"
    "[!hinweis]\r\nDateVer=1\r\n[~tmp]\r\nDateVer=1\r\n[@info]\r\nDateVer=1\r\n";

// The children of an Update element, in their order, with the values of one row.
std::string UpdateXml(std::initializer_list<std::string> values)
{
    static const char* const names[] = {"Section",  "Name",        "Tooltip", "Size",
                                        "InfoText", "InfoFile",    "FileURL", "DateVer",
                                        "File",     "Destination", "State",   "Severity",
                                        "Summary",  "Download",    "Update",  "Elster"};
    return "<Update>" + XmlElements(names, values) + "<WantDownload>1</WantDownload></Update>";
}

// An item with nothing but its section (also its name) and "DateVer" 1.
std::string BareUpdate(const std::string& section)
{
    return UpdateXml(
        {section, section, "", "0", "", "", "", "1", "", "", "", "", "", "0", "0", "0"});
}

// The items of kItems that a pushing product lists, in file order.
std::string ListedUpdates()
{
    return "<Updates>" +
           UpdateXml({"upd1", "Erstes Update", "Tipp & mehr", "2048", "Infotext", "info.htm",
                      "http://upd.example/upd1.exe", "7", "upd1.exe", "-S\\Sub", "neu", "hoch",
                      "<b>kurz</b>", "1", "0", "1"}) +
           UpdateXml(
               {"upd3", "Mit Run", "", "0", "", "", "", "4", "", "", "", "", "", "0", "1", "0"}) +
           BareUpdate("!hinweis") + BareUpdate("~tmp") + BareUpdate("@info") + "</Updates>";
}

// An update infos document: news, then waiting updates, then the numbers.
std::string InfosXml(const std::string& news, const std::string& listed, int updates, int newsCount)
{
    return NormalXml("<rss><channel>" + news + "</channel>" + listed + "<Info><Updates>" +
                     std::to_string(updates) + "</Updates><News>" + std::to_string(newsCount) +
                     "</News><Days>3</Days></Info></rss>");
}

struct Infos {
    std::string counts; // "result R, updates U, news N, days D, boxes B" (message boxes shown)
    std::string xml;    // "(null)" when no document was asked for
    bool declaration;
};

// The products' news come from the standard data folder, here the news fixture's; the update
// manager last looked three days and an hour ago.
class UpdateInfos : public NewsFixture {
protected:
    UpdateInfos() : m_products("Software\\Norvane\\Installiert")
    {
        UseStandardDataFolder();
        m_config.Write(ConfigXml("ModeAutomatic", MinutesFromNow(-(3 * 24 + 1) * 60)));
    }

    // A feed for `product` with one item per guid; returns its channel part as listed.
    std::string AddFeed(const std::string& product, std::initializer_list<const char*> guids)
    {
        std::string items, listed = "<title>News " + product + "</title>";
        for (const char* guid : guids)
            items += Item(guid, std::string("<description>  Text ") + guid + "\r\n</description>");
        m_feed = WriteFeed(listed + items);
        for (const char* guid : guids)
            listed += "<item read=\"0\" feedurl=\"" + m_feed + "\"><guid>" + guid +
                      "</guid><description>Text " + guid + "</description></item>";
        WriteIndex(product, Entry(m_feed));
        return listed;
    }

    Infos Read(const std::string& product, bool withDocument = true)
    {
        auto get = NvinfoModule::Proc<PFN_NV_GETUPDATEINFOS>("GetUpdateInfos");
        int news = 99, updates = 99, days = 99;
        IDispatch* document = nullptr;
        DialogCapture dialogs;
        const int result =
            get(product.c_str(), &news, &updates, &days, withDocument ? &document : nullptr);
        Infos infos = {nv::FormatText("result %d, updates %d, news %d, days %d, boxes %u", result,
                                      updates, news, days, dialogs.Dialogs().size()),
                       "", false};
        infos.xml = TakeDocumentXml(document, &infos.declaration);
        return infos;
    }

    InstalledProducts m_products;
    PlacedFile m_config{ConfigPath()};
    std::string m_feed; // the last one added
};

TEST_F(UpdateInfos, PushingProductListsItsUpdatesBeforeNewsBeforeDays)
{
    Listed listed = {"Katalogtest", "nvcatinfo", "", "", kPushing};
    m_products.Add(listed, "info.ndc", "1", kItems);
    const std::string news = AddFeed("nvcatinfo", {"g1", "g2"});
    const Infos infos = Read("NvCatInfo"); // the subkey is found in any case
    EXPECT_EQ("result 0, updates 5, news 2, days 3, boxes 0", infos.counts);
    EXPECT_TRUE(infos.declaration);
    EXPECT_EQ(InfosXml(news, ListedUpdates(), 5, 2), infos.xml);
    EXPECT_EQ(infos.counts, Read("nvcatinfo", false).counts) << "without a document";
    // GetNdcToDownload2 reads the same products.
    auto getNdc2 = NvinfoModule::Proc<PFN_NV_GETNDCTODOWNLOAD2>("GetNdcToDownload2");
    EXPECT_EQ(List({listed}), ListXml(getNdc2("nvcatinfo", 1)));
}

// An NDC file with "Push" 0 lists no updates at all.
TEST_F(UpdateInfos, NewsCountsOnlyItemsNeitherReadNorHiddenAndUpdatesOnlyWhenPushed)
{
    Listed notPushing = {"Katalogtest", "nvcatstate", "", "", kPushing};
    m_products.Add(notPushing, "p0.ndc", "0", kItems);
    AddFeed("nvcatstate", {"read", "hidden", "new"});
    WriteState(m_feed, "<rss><channel>" + Item("read", "<read>1</read>") +
                           Item("hidden", "<dontshow>1</dontshow>") + "</channel></rss>");
    const Infos infos = Read("nvcatstate");
    EXPECT_EQ("result 0, updates 0, news 1, days 3, boxes 0", infos.counts);
    EXPECT_EQ("T:News nvcatstate|new:0", Summary(infos.xml));
    EXPECT_EQ(infos.xml.rfind("<Updates"), infos.xml.find("<Updates")) << "only the count's";
}

TEST_F(UpdateInfos, NvproAddsTheNewsOfTheSixProductsInTableOrder)
{
    const std::string own = AddFeed("nvpro", {"p1"});
    const std::string xj = AddFeed("xjpro", {"x1", "x2"});
    const std::string qd = AddFeed("qdpro", {"q1"});
    const std::string zg = AddFeed("zgpro", {"z1"});
    EXPECT_EQ(InfosXml(own + qd + zg + xj, "", 0, 5), Read("nvpro").xml);
    // Only the exact code stands for the suite.
    EXPECT_EQ(InfosXml(own, "", 0, 1), Read("NVPRO").xml);
}

} // namespace
