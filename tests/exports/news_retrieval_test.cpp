// Reading a product's news through the exports: the feed index in the data
// folder, the feeds it names, dates, constraints, the user's marks and the
// messages shown when a file is broken.
#include "news_fixture.h"

#include "harness/nvinfo_module.h"
#include "nvinfo.h"
#include "dialog_capture.h"

#include <cwchar>

namespace {

const std::string kReadError = "Es trat ein Fehler beim Lesen der News f\xFCr das Produkt '";

std::string Item(const std::string& guid, const std::string& inner = "")
{
    return "<item><guid>" + guid + "</guid>" + inner + "</item>";
}

class NewsRetrieval : public NewsFixture {
protected:
    DialogCapture m_dialogs;
};

TEST_F(NewsRetrieval, FeedsFollowTheirIndexEntriesWithTitleThenItems)
{
    std::string first = WriteFeed("erste.xml",
                                  "<title>Neu bei QD</title>" + Item("a1") +
                                      "<orvo2>" + Item("a2") + "</orvo2>" + Item("a3"));
    std::string second = WriteFeed("zweite.xml", Item("b1") + "<title>Service</title>", "other");
    WriteIndex("qdpro", Entry(first) + "<Kommentar/>" + Entry(second));
    std::string xml = NewsXml("qdpro");
    EXPECT_EQ("T:Neu bei QD|a1:0|a2:0|a3:0|T:Service|b1:0", Summary(xml));
    EXPECT_EQ(first, ItemAttribute(xml, "a2", "feedurl"));
    EXPECT_EQ(second, ItemAttribute(xml, "b1", "feedurl"));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsRetrieval, ItemsPassThroughWholeWithTheirDescriptionTrimmed)
{
    std::string feed = WriteFeed("inhalt.xml",
                                 "<item priority='hoch' read='7' feedurl='alt'><guid>d1</guid>"
                                 "<description> \t\r\n Update &#x142;&#xE4;uft\n </description>"
                                 "<link>http://x/</link></item>");
    WriteIndex("qdpro", Entry(feed));
    std::string xml = NewsXml("qdpro");
    EXPECT_EQ("hoch", ItemAttribute(xml, "d1", "priority"));
    EXPECT_EQ("0", ItemAttribute(xml, "d1", "read"));
    EXPECT_EQ(feed, ItemAttribute(xml, "d1", "feedurl"));
    EXPECT_EQ("http://x/", ItemChildText(xml, "d1", "link"));
    // Trimmed in the serialised text itself, and without losing characters
    // that the code page lacks.
    auto getNewsXml3 = NvinfoModule::Proc<PFN_NV_GETNEWSXML3>("GetNewsXml3");
    BSTR wide = getNewsXml3("qdpro", "", kDataValue.c_str());
    ASSERT_NE(nullptr, wide);
    EXPECT_NE(nullptr, std::wcsstr(wide, L">Update \u0142\u00E4uft</description>")) << xml;
    SysFreeString(wide);
}

TEST_F(NewsRetrieval, IndexEntriesWithoutAUsableFeedAreSkipped)
{
    std::string feed = WriteFeed("gut.xml", Item("g1"));
    std::string backslashUrl = WriteFeed("pfad.xml", Item("p1"));
    std::string pathUrl = backslashUrl.substr(backslashUrl.find_last_of('\\') + 1);
    WriteIndex("qdpro",
               "<NvFeed><RegistryDestination>" + FolderValue("feeds") +
                   "</RegistryDestination></NvFeed>"
                   "<NvFeed><Url>gut.xml</Url></NvFeed>"
                   "<NvFeed><Url>fehlt.xml</Url><RegistryDestination>" + FolderValue("feeds") +
                   "</RegistryDestination></NvFeed>"
                   "<NvFeed><Url>" + pathUrl + "</Url><RegistryDestination>HKCU\\Software\\"
                   "NvinfoNewsTest\\Fehlt</RegistryDestination></NvFeed>" +
                   Entry(feed) + "<NvFeed><Url>a/b\\c/" + pathUrl + "</Url><RegistryDestination>" +
                   FolderValue("feeds") + "</RegistryDestination></NvFeed>");
    EXPECT_EQ("g1:0|p1:0", Summary(NewsXml("qdpro")));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsRetrieval, NoIndexMeansNoNewsAndNoMessage)
{
    EXPECT_EQ("(null)", NewsXml("zgpro"));
    auto getNews = NvinfoModule::Proc<PFN_NV_GETNEWS>("GetNews");
    IDispatch* document = reinterpret_cast<IDispatch*>(0x1234);
    EXPECT_EQ(S_OK, getNews("zgpro", "", &document));
    EXPECT_EQ(nullptr, document);
    EXPECT_EQ("(null)", NewsXml(""));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsRetrieval, ANullDocumentPointerIsRefusedInsteadOfWrittenThrough)
{
    m_registry.SetString(HKEY_LOCAL_MACHINE,
                         "Software\\Norvane\\Gemeinsame Dateien\\Update Manager\\Verzeichnisse",
                         "Daten", m_temp.File("daten"));
    std::string feed = WriteFeed("zeiger.xml", Item("z1"));
    WriteIndex("ycpro", Entry(feed));
    auto getNews = NvinfoModule::Proc<PFN_NV_GETNEWS>("GetNews");
    EXPECT_EQ(E_POINTER, getNews("ycpro", "", nullptr));
    EXPECT_EQ(E_INVALIDARG, getNews("", "", nullptr));
    auto fromFileEx = NvinfoModule::Proc<PFN_NV_GETNEWSFROMFILEEX>(NVINFO_GETNEWSFROMFILEEX);
    fromFileEx(feed.c_str(), "", nullptr, 1, 1, 1);
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsRetrieval, TheDefaultDataFolderServesGetNewsGetNewsDocumentAndGetNewsXml)
{
    m_registry.SetString(HKEY_LOCAL_MACHINE,
                         "Software\\Norvane\\Gemeinsame Dateien\\Update Manager\\Verzeichnisse",
                         "Daten", m_temp.File("daten"));
    std::string feed = WriteFeed("standard.xml", "<title>T</title>" + Item("s1"));
    WriteIndex("ycpro", Entry(feed));

    auto getNewsXml = NvinfoModule::Proc<PFN_NV_GETNEWSXML>("GetNewsXml");
    EXPECT_EQ("T:T|s1:0", Summary(ResultText(getNewsXml("ycpro", ""))));
    auto getNews = NvinfoModule::Proc<PFN_NV_GETNEWS>("GetNews");
    IDispatch* document = nullptr;
    EXPECT_EQ(S_OK, getNews("ycpro", "", &document));
    EXPECT_EQ("T:T|s1:0", Summary(TakeDocumentXml(document)));
    auto getNewsDocument = NvinfoModule::Proc<PFN_NV_GETNEWSDOCUMENT>(NVINFO_GETNEWSDOCUMENT);
    IXMLDOMDocument2* document2 = nullptr;
    EXPECT_EQ(S_OK, getNewsDocument("ycpro", "", &document2));
    ASSERT_NE(nullptr, document2);
    EXPECT_EQ("T:T|s1:0", Summary(TakeDocumentXml(document2)));
}

TEST_F(NewsRetrieval, AnUnreadableDataFolderValueMeansTheStandardFolder)
{
    const std::string top = "C:\\Programme";
    const std::string folder = top + "\\Gemeinsame Dateien\\Norvane\\Update Manager\\Daten";
    bool topExisted = FileExists(top);
    std::string feed = WriteFeed("standardordner.xml", Item("s1"));
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string index = folder + "\\nvtest-standard.feed";
    HANDLE file = CreateFileA(index.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    std::string content = "<NvFeeds>" + Entry(feed) + "</NvFeeds>";
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);

    auto getNewsXml3 = NvinfoModule::Proc<PFN_NV_GETNEWSXML3>("GetNewsXml3");
    EXPECT_EQ("s1:0", Summary(ResultText(getNewsXml3(
                          "nvtest-standard", "", "HKCU\\Software\\NvinfoNewsTest\\Fehlt"))));
    DeleteFileA(index.c_str());
    if (!topExisted)
        RemoveTree(top);
}

TEST_F(NewsRetrieval, CategoryKeepsOnlyItemsWithThatExactCategory)
{
    std::string longCategory(1000, 'k');
    std::string feed = WriteFeed(
        "kategorie.xml",
        Item("c1", "<category>Steuer</category>") + Item("c2", "<category>steuer</category>") +
            Item("c3", "<category>Lohn</category><category>Steuer</category>") +
            "<orvo2>" + Item("c4", "<category>Steuer</category>") + "</orvo2>" +
            Item("c5", "<category>Kunden's Ecke</category>") +
            Item("c6", "<category>" + longCategory + "</category>") + Item("c7"));
    WriteIndex("qdpro", Entry(feed));
    struct Row {
        std::string category;
        const char* expected;
    } rows[] = {
        {"", "c1:0|c2:0|c3:0|c4:0|c5:0|c6:0|c7:0"},
        {"Steuer", "c1:0|c3:0|c4:0"},
        {"Kunden's Ecke", "c5:0"},
        {"Kunden\"s' Ecke", "(null)"},
        {longCategory, "c6:0"},
        {longCategory + "x", "(null)"},
        {"%s%n", "(null)"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, Summary(NewsXml("qdpro", row.category)))
            << row.category.substr(0, 20);
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsRetrieval, DisplayDatesFollowTheClock)
{
    std::string feed = WriteFeed(
        "termine.xml",
        Item("von-heute", "<von>" + DateText(0) + "</von>") +
            Item("von-morgen", "<von>" + DateText(1) + "</von>") +
            Item("von-gestern-abend", "<von>" + DateText(-1, 23, 59) + "</von>") +
            Item("bis-heute", "<bis>" + DateText(0) + "</bis>") +
            Item("bis-morgen", "<bis>" + DateText(1) + "</bis>") +
            Item("bis-gestern", "<bis>" + DateText(-1, 12) + "</bis>") +
            Item("bis-heute-nacht", "<bis>" + DateText(0, 23, 59) + "</bis>") +
            Item("von-bald", "<von>bald</von><bis>irgendwann</bis>") +
            Item("zeitraum", "<von>" + DateText(-3) + "</von><bis>" + DateText(3) + "</bis>"));
    WriteIndex("qdpro", Entry(feed));
    EXPECT_EQ(
        "von-heute:0|von-gestern-abend:0|bis-morgen:0|bis-heute-nacht:0|von-bald:0|zeitraum:0",
        Summary(NewsXml("qdpro")));
}

TEST_F(NewsRetrieval, TheDateOverrideDecidesWhenItCarriesTodaysCheckNumber)
{
    const std::string key = "Software\\Norvane\\NewsBand";
    std::string feed =
        WriteFeed("grenze.xml", Item("von-genau", "<von>15.06.2026 12:00</von>") +
                                    Item("von-danach", "<von>15.06.2026 12:01</von>") +
                                    Item("von-tag", "<von>15.06.2026</von>") +
                                    Item("bis-genau", "<bis>15.06.2026 12:00</bis>") +
                                    Item("bis-davor", "<bis>15.06.2026 11:59</bis>") +
                                    Item("bis-tag", "<bis>15.06.2026</bis>") +
                                    Item("heute", "<von>" + DateText(0) + "</von><bis>" +
                                                      DateText(1) + "</bis>"));
    WriteIndex("qdpro", Entry(feed));
    m_registry.SetString(HKEY_CURRENT_USER, key, "CurrentDate", "15.06.2026 12:00");
    struct Row {
        const char* name;
        DWORD checkNumber;
        const char* expected;
    } rows[] = {
        {"today's check number", TodaysOverrideCheckNumber(), "von-genau:0|von-tag:0|bis-genau:0"},
        {"another check number", TodaysOverrideCheckNumber() + 1,
         "von-genau:0|von-danach:0|von-tag:0|heute:0"},
    };
    for (const Row& row : rows) {
        m_registry.SetDword(HKEY_CURRENT_USER, key, "IsActive", row.checkNumber);
        EXPECT_EQ(row.expected, Summary(NewsXml("qdpro"))) << row.name;
    }
}

TEST_F(NewsRetrieval, ConstraintsDecideUnlessTheCallerSwitchesThemOff)
{
    std::string feed = WriteFeed("bedingung.xml",
                                 "<title>B</title>" + Item("wahr", "<if><true/></if>") +
                                     Item("falsch", "<if><false/></if>") +
                                     Item("nicht", "<if><not><true/></not></if>") + Item("ohne"));
    WriteIndex("qdpro", Entry(feed));
    EXPECT_EQ("T:B|wahr:0|ohne:0", Summary(NewsXml("qdpro")));
    EXPECT_EQ("T:B|wahr:0|ohne:0", Summary(FileNews(feed, "", 1, 1, 1)));
    EXPECT_EQ("T:B|wahr:0|falsch:0|nicht:0|ohne:0", Summary(FileNews(feed, "", 1, 1, 0)));
    auto fromFile = NvinfoModule::Proc<PFN_NV_GETNEWSFROMFILE>(NVINFO_GETNEWSFROMFILE);
    IDispatch* document = nullptr;
    fromFile(feed.c_str(), "", &document, 1, 1);
    EXPECT_EQ("T:B|wahr:0|ohne:0", Summary(TakeDocumentXml(document)));
}

TEST_F(NewsRetrieval, AllItemsFilteredOutGivesNoProductNewsButAFileDocument)
{
    std::string feed = WriteFeed("leer.xml", "<title>Nichts</title>" +
                                                 Item("alt", "<bis>01.01.2001</bis>"));
    WriteIndex("qdpro", Entry(feed));
    EXPECT_EQ("(null)", NewsXml("qdpro"));
    EXPECT_EQ("T:Nichts", Summary(FileNews(feed, "", 1, 1)));
    EXPECT_EQ("(null)", FileNews("", "", 1, 1));
    EXPECT_EQ("", Summary(FileNews(m_temp.File("gibtsnicht.xml"), "", 1, 1)));
}

TEST_F(NewsRetrieval, WithoutStateAllItemsAreUnreadEvenWithoutGuid)
{
    std::string feed = WriteFeed("ohnestatus.xml", "<item><title>x</title></item>" + Item("n1"));
    WriteIndex("qdpro", Entry(feed));
    EXPECT_EQ("-:0|n1:0", Summary(NewsXml("qdpro")));
}

TEST_F(NewsRetrieval, TheUsersMarksDecideWithTheSwitches)
{
    std::string feed = WriteFeed(
        "marken.xml", Item("gelesen") + Item("null-eins") + Item("versteckt") + Item("beides") +
                          Item("doppelt") + "<item><title>x</title></item>" + Item("unberuehrt") +
                          Item("gelesen") + Item("leer-eins") + Item("cdata") + Item("zerlegt"));
    WriteIndex("qdpro", Entry(feed));
    WriteState(feed,
               "<?xml version='1.0' encoding='utf-8'?><rss><channel>"
               "<item><guid>gelesen</guid><read>1</read></item>"
               "<item><guid>null-eins</guid><read>01</read><dontshow>2</dontshow></item>"
               "<item><guid>versteckt</guid><read>0</read><dontshow>1</dontshow></item>"
               "<item><guid>beides</guid><read>1</read><dontshow>1</dontshow></item>"
               "<item><guid>doppelt</guid><read>1</read></item>"
               "<item><guid>doppelt</guid><read>0</read><dontshow>1</dontshow></item>"
               "<orvo2><item><guid>unberuehrt</guid><read>1</read></item></orvo2>"
               "<item><guid>leer-eins</guid><read> 1 </read></item>"
               "<item><guid>cdata</guid><read><![CDATA[1]]></read></item>"
               "<item><guid>zerlegt</guid><read>0</read><read><b>1</b><!-- x --></read></item>"
               "</channel></rss>");
    struct Row {
        const char* name;
        int includeRead;
        int includeHidden;
        const char* expected;
    } rows[] = {
        {"everything", 1, 1,
         "gelesen:1|null-eins:0|versteckt:0|beides:1|doppelt:1|unberuehrt:0|gelesen:1|"
         "leer-eins:0|cdata:1|zerlegt:1"},
        {"without read", 0, 1, "null-eins:0|versteckt:0|unberuehrt:0|leer-eins:0"},
        {"without hidden", 1, 0,
         "gelesen:1|null-eins:0|doppelt:1|unberuehrt:0|gelesen:1|leer-eins:0|cdata:1|zerlegt:1"},
        {"neither", 0, 0, "null-eins:0|unberuehrt:0|leer-eins:0"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, Summary(FileNews(feed, "", row.includeRead, row.includeHidden)))
            << row.name;
    EXPECT_EQ(rows[0].expected, Summary(NewsXml("qdpro")));
}

TEST_F(NewsRetrieval, AStateFileThatDoesNotLoadIsDeletedAndIgnored)
{
    struct Row {
        const char* name;
        const char* content;
    } rows[] = {
        {"malformed", "<rss><channel><item><guid>m1</guid><read>1</read></channel></rss>"},
        {"empty", ""},
    };
    for (const Row& row : rows) {
        std::string feed = WriteFeed("kaputt.xml", Item("m1") + "<item/>");
        WriteState(feed, row.content);
        EXPECT_EQ("m1:0|-:0", Summary(FileNews(feed, "", 0, 0))) << row.name;
        EXPECT_EQ("(no file)", StateOf(feed)) << row.name;
    }
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsRetrieval, ABrokenFileStopsTheProductWithAMessageNamingTheStep)
{
    std::string good = WriteFeed("gut.xml", "<title>Gut</title>" + Item("g1"));
    std::string broken = WriteFeed("kaputt.xml", "<item><guid>k1</guid></channel></rss>");
    std::string after = WriteFeed("danach.xml", Item("d1"));
    WriteIndex("qdpro", Entry(good) + Entry(broken) + Entry(after));
    EXPECT_EQ("T:Gut|g1:0", Summary(NewsXml("qdpro")));
    ASSERT_EQ(1u, m_dialogs.Dialogs().size());
    const CapturedDialog& shown = m_dialogs.Dialogs()[0];
    EXPECT_EQ("nvinfo", shown.caption);
    EXPECT_EQ(0u, shown.text.find(kReadError + "qdpro' auf.\nFehler: 2\nXML ParseError:"))
        << shown.text;

    m_dialogs.Clear();
    WriteIndex("wtpro", Entry(broken));
    EXPECT_EQ("(null)", FileNews(broken, "", 1, 1));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
    EXPECT_EQ("(null)", NewsXml("wtpro"));
    ASSERT_EQ(1u, m_dialogs.Dialogs().size());
    EXPECT_EQ(0u, m_dialogs.Dialogs()[0].text.find(kReadError + "wtpro' auf.\nFehler: 2\n"));

    m_dialogs.Clear();
    m_temp.Write("daten\\xjpro.feed", "<NvFeeds><NvFeed></NvFeeds>");
    EXPECT_EQ("(null)", NewsXml("xjpro"));
    ASSERT_EQ(1u, m_dialogs.Dialogs().size());
    EXPECT_EQ(0u, m_dialogs.Dialogs()[0].text.find(kReadError +
                                                   "xjpro' auf.\nFehler: 0\nXML ParseError:"));
}

TEST_F(NewsRetrieval, PathsWithCodePageCharactersWork)
{
    std::string feed = WriteFeed("Neuigkeiten f\xFCr Sie.xml", Item("u1"),
                                 "Gr\xFC\xDF"
                                 "e \xC4nderung");
    m_registry.SetString(HKEY_CURRENT_USER, "Software\\NvinfoNewsTest", "Daten",
                         m_temp.File("daten \xE4\xF6\xFC"));
    WriteIndex("vumipro", Entry(feed), "daten \xE4\xF6\xFC");
    std::string xml = NewsXml("vumipro");
    EXPECT_EQ("u1:0", Summary(xml));
    EXPECT_EQ(feed, ItemAttribute(xml, "u1", "feedurl"));
    auto setState = NvinfoModule::Proc<PFN_NV_SETNEWSITEMSTATE>("SetNewsItemState");
    EXPECT_EQ(S_OK, setState(feed.c_str(), "u1", 1, -1));
    EXPECT_EQ("u1:1", Summary(NewsXml("vumipro")));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

} // namespace
