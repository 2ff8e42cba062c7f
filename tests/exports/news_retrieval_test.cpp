// Reading news through the exports: the feed index, the feeds it names, the
// filters (category, dates, constraints, the user's marks) and the message
// shown when a file is broken.
#include "harness/host_tool.h"
#include "news_fixture.h"

// Not an inline variable of the header: the compiler drops those when no file uses them, and the
// environment then never runs.
const ::testing::Environment* const kNewsEnvironment =
    ::testing::AddGlobalTestEnvironment(new NewsEnvironment);

namespace {

using NewsRetrieval = NewsFixture;

// The number the date override must carry to count on the local clock's day now: day of the
// month, month and day of the week (1 = Sunday).
DWORD TodaysCheckNumber()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wDay * 1000 + now.wMonth * 10 + now.wDayOfWeek + 1;
}

// Every product export keeps the items the user has read or hidden, the read ones marked.
TEST_F(NewsRetrieval, FeedsFollowTheirIndexEntriesWithTitleThenItems)
{
    std::string first =
        WriteFeed("<title>Neu bei QD</title>" + Item("a1") + "<orvo2>" +
                  Item("a2", "<description> \t\r\n Update l\xE4uft\n </description>") + "</orvo2>" +
                  "<item read='7'><guid>a3</guid></item>");
    WriteState(first, "<rss><channel>" + Item("a1", "<read>1</read>") +
                          Item("a2", "<dontshow>1</dontshow>") + "</channel></rss>");
    std::string second = WriteFeed(Item("b1") + "<title>Service</title>", "\xC4nderungen");
    const std::string inData = "<RegistryDestination>" + m_dataValue + "</RegistryDestination>";
    WriteIndex("qdpro", Entry(first) + "<Kommentar/><NvFeed><Url>x.xml</Url></NvFeed><NvFeed>" +
                            inData + "</NvFeed><NvFeed><Url>fehlt.xml</Url>" + inData +
                            "</NvFeed>" + Entry(second));
    std::string news = NewsXml("qdpro");
    const std::string expected = "T:Neu bei QD|a1:1|a2:0|a3:0|T:Service|b1:0";
    EXPECT_EQ(expected, Summary(news));
    for (const std::string& feed : {first, second})
        EXPECT_NE(std::string::npos, news.find("feedurl=\"" + feed + "\"")) << news;
    EXPECT_NE(std::string::npos, news.find("<description>Update l\xE4uft</description>")) << news;
    UseStandardDataFolder();
    IDispatch* dispatch = nullptr;
    EXPECT_EQ(S_OK, NvinfoModule::Proc<PFN_NV_GETNEWS>("GetNews")("qdpro", "", &dispatch));
    IXMLDOMDocument2* document = nullptr;
    EXPECT_EQ(S_OK, NvinfoModule::Proc<PFN_NV_GETNEWSDOCUMENT>(NVINFO_GETNEWSDOCUMENT)("qdpro", "",
                                                                                       &document));
    EXPECT_EQ(expected, Summary(TakeDocumentXml(dispatch)));
    EXPECT_EQ(expected, Summary(TakeDocumentXml(document)));
    BSTR xml = NvinfoModule::Proc<PFN_NV_GETNEWSXML>("GetNewsXml")("qdpro", "");
    EXPECT_EQ(expected, Summary(NormalXml(TakeBstrText(xml))));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

// A failing constraint hides its item unless the caller switches constraints off.
TEST_F(NewsRetrieval, NothingToShowIsANullResult)
{
    std::string feed = WriteFeed("<title>Nichts</title>" + Item("alt", "<bis>01.01.2001</bis>") +
                                 Item("falsch", "<if><false/></if>"));
    WriteIndex("qdpro", Entry(feed));
    EXPECT_EQ("(null)", NewsXml("qdpro"));
    // A file read by name gives its document even without items.
    EXPECT_EQ("T:Nichts", FileNews(feed, 1, 1));
    EXPECT_EQ("T:Nichts|falsch:0", FileNews(feed, 1, 1, false));
    EXPECT_EQ("(null)", FileNews("", 1, 1));
    // Everything filtered out: no document, and what the pointer held before is gone.
    UseStandardDataFolder();
    auto document = reinterpret_cast<IXMLDOMDocument2*>(0x1234);
    EXPECT_EQ(S_OK, NvinfoModule::Proc<PFN_NV_GETNEWSDOCUMENT>(NVINFO_GETNEWSDOCUMENT)("qdpro", "",
                                                                                       &document));
    EXPECT_EQ(nullptr, document);
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsRetrieval, CategoryKeepsOnlyItemsWithThatExactCategory)
{
    std::string longCategory(1000, 'k');
    std::string feed = WriteFeed(
        Item("c1", "<category>Steuer</category>") + Item("c2", "<category>steuer</category>") +
        Item("c3", "<category>Lohn</category><category>Steuer</category>") + "<orvo2>" +
        Item("c4", "<category>Steuer</category>") + "</orvo2>" +
        Item("c5", "<category>Kunden's Ecke</category>") +
        Item("c6", "<category>" + longCategory + "</category>") + Item("c7"));
    WriteIndex("qdpro", Entry(feed));
    const struct {
        std::string category;
        const char* expected;
    } rows[] = {
        {"Steuer", "c1:0|c3:0|c4:0"},
        {"Kunden's Ecke", "c5:0"},
        {longCategory, "c6:0"},
        {"%s%n", "(null)"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, Summary(NewsXml("qdpro", row.category)))
            << row.category.substr(0, 20);
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsRetrieval, DisplayDatesCountFromTheOverrideWhenItCarriesTodaysCheckNumber)
{
    std::string feed = WriteFeed(Item("von-genau", "<von>15.06.2026 12:00</von>") +
                                 Item("von-danach", "<von>15.06.2026 12:01</von>") +
                                 Item("bis-genau", "<bis>15.06.2026 12:00</bis>") +
                                 Item("kein-datum", "<von>bald</von><bis>nie</bis>"));
    WriteIndex("qdpro", Entry(feed));
    const std::string key = "Software\\Norvane\\NewsBand";
    const char* const date = "15.06.2026 12:00";
    const char* const clock = "von-genau:0|von-danach:0|kein-datum:0";
    const struct {
        const char* name;
        DWORD added, checkType; // added to today's check number
        std::string date;
        DWORD dateType;
        const char* expected;
    } rows[] = {
        {"today's check number", 0, REG_DWORD, date, REG_SZ,
         "von-genau:0|bis-genau:0|kein-datum:0"},
        {"another day's", 1, REG_DWORD, date, REG_SZ, clock},
        {"check number not a DWORD", 0, REG_BINARY, date, REG_SZ, clock},
        {"date not a string", 0, REG_DWORD, date, REG_EXPAND_SZ, clock},
        {"date text beyond 19 bytes", 0, REG_DWORD, "    15.06.2026 12:00", REG_SZ, clock},
    };
    for (const auto& row : rows) {
        m_registry.Set(HKEY_CURRENT_USER, key, "CurrentDate", row.date, row.dateType);
        std::string summary;
        // Read again on the new day's number when midnight came during the call.
        for (DWORD day = 0; day != TodaysCheckNumber();) {
            day = TodaysCheckNumber();
            m_registry.Set(HKEY_CURRENT_USER, key, "IsActive", DwordData(day + row.added),
                           row.checkType);
            summary = Summary(NewsXml("qdpro"));
        }
        EXPECT_EQ(row.expected, summary) << row.name;
    }
    // The module looks for the key once per process: a process of its own reads without it.
    m_registry.DeleteKey(HKEY_CURRENT_USER, key);
    const std::string answer = RunHostTool("GetNewsXml3 qdpro \"\" " + m_dataValue);
    // Made again past the sandbox, which would remove it: the program's other tests need it.
    HKEY again = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, key.c_str(), &again);
    RegCloseKey(again);
    EXPECT_EQ(clock, Summary(answer)) << "key missing";
    EXPECT_NE(std::string::npos, answer.find("exit code 0")) << answer;
}

TEST_F(NewsRetrieval, TheUsersMarksDecideWithTheSwitchesAndAStateThatDoesNotLoadGoes)
{
    std::string feed =
        WriteFeed(Item("gelesen") + Item("versteckt") + Item("beides") + Item("doppelt") +
                  Item("fast") + Item("cdata") + Item("unberuehrt") + "<item/>");
    WriteState(feed, "<rss><channel>" + Item("gelesen", "<read>1</read>") +
                         Item("versteckt", "<read>0</read><dontshow>1</dontshow>") +
                         Item("beides", "<read>1</read><dontshow>1</dontshow>") +
                         Item("doppelt", "<read>1</read>") +
                         Item("doppelt", "<dontshow>1</dontshow>") +
                         Item("fast", "<read>01</read><dontshow> 1 </dontshow>") +
                         Item("cdata", "<read><![CDATA[1]]></read>") + "<orvo2>" +
                         Item("unberuehrt", "<read>1</read>") + "</orvo2></channel></rss>");
    const struct {
        const char* name;
        int read, hidden;
        const char* expected;
    } rows[] = {
        {"all", 1, 1, "gelesen:1|versteckt:0|beides:1|doppelt:1|fast:0|cdata:1|unberuehrt:0"},
        {"without read", 0, 1, "versteckt:0|fast:0|unberuehrt:0"},
        {"without hidden", 1, 0, "gelesen:1|doppelt:1|fast:0|cdata:1|unberuehrt:0"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, FileNews(feed, row.read, row.hidden)) << row.name;
    // A state file that does not load is deleted and ignored.
    std::string broken = WriteFeed(Item("m1") + "<item/>");
    WriteState(broken, "<rss><channel><item><guid>m1</guid><read>1</read></channel>");
    EXPECT_EQ("m1:0|-:0", FileNews(broken, 0, 0));
    EXPECT_EQ("(no file)", State(broken));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

// Each call asks for the state folder afresh (the feeds of one call share it) and makes its
// folder chain under APPDATA, also when no state is kept.
TEST_F(NewsRetrieval, EachCallFindsAndMakesTheStateFolderAfresh)
{
    std::string feed = WriteFeed(Item("s1"));
    WriteIndex("sfpro", Entry(feed));
    EXPECT_EQ("s1:0", Summary(NewsXml("sfpro")));
    m_registry.Set(HKEY_CURRENT_USER,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                   "AppData", m_temp.File("appdata"), REG_EXPAND_SZ);
    ASSERT_EQ(m_temp.File("appdata\\Norvane"), NewsStateFolder());
    EXPECT_EQ("s1:0", FileNews(feed, 1, 1));
    EXPECT_TRUE(FileExists(m_temp.File("appdata\\Norvane\\Gemeinsame Dateien\\UpdateManager")));
    WriteState(feed, "<rss><channel><item><guid>s1</guid><read>1</read></item></channel></rss>");
    EXPECT_EQ("s1:1", Summary(NewsXml("sfpro")));
}

TEST_F(NewsRetrieval, ABrokenFileStopsTheProductWithAMessageNamingTheStep)
{
    std::string good = WriteFeed("<title>Gut</title>" + Item("g1"));
    std::string broken = WriteFeed("<item><guid>k1</guid></channel>");
    WriteIndex("qdpro", Entry(good) + Entry(broken) + Entry(WriteFeed(Item("d1"))));
    WriteIndex("xjpro", "<NvFeed></NvFeeds>");
    const struct {
        const char *product, *expected, *step;
    } rows[] = {
        {"qdpro", "T:Gut|g1:0", "2"},
        {"xjpro", "(null)", "0"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.expected, Summary(NewsXml(row.product))) << row.product;
        const std::string text = "Es trat ein Fehler beim Lesen der News f\xFCr das Produkt '" +
                                 std::string(row.product) + "' auf.\nFehler: " + row.step +
                                 "\nXML ParseError:";
        EXPECT_EQ("nvinfo: " + text, TakeMessage(text.size()));
    }
    // Reading the file by name has never reported anything.
    EXPECT_EQ("(null)", FileNews(broken, 1, 1));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

} // namespace
