// Recording that a user has read or hidden a news item through the export
// SetNewsItemState, and what the next reading of the feed makes of it.
#include "news_fixture.h"

#include "dialog_capture.h"
#include "harness/nvinfo_module.h"
#include "nvinfo.h"

namespace {

const std::string kStateError = "Es trat ein Fehler bei SetNewsItemState auf.\n";

class NewsItemState : public NewsFixture {
protected:
    long Set(const std::string& feedPath, const std::string& guid, int read, int hidden)
    {
        auto setState = NvinfoModule::Proc<PFN_NV_SETNEWSITEMSTATE>("SetNewsItemState");
        return setState(feedPath.c_str(), guid.c_str(), read, hidden);
    }

    std::string FeedWithItems()
    {
        return WriteFeed("status.xml", "<item><guid>a</guid></item><item><guid>b</guid></item>"
                                       "<item><guid>c</guid></item>"
                                       "<orvo2><item><guid>o</guid></item></orvo2>"
                                       "<item><guid>Kunde's \"Tipp\"</guid></item>");
    }

    DialogCapture m_dialogs;
};

TEST_F(NewsItemState, AFirstMarkCreatesTheStateFile)
{
    std::string feed = FeedWithItems();
    EXPECT_EQ(S_OK, Set(feed, "b", 1, -1));
    EXPECT_EQ("guid=b read=1", StateSummary(StateOf(feed)));
    EXPECT_NE(std::string::npos, StateOf(feed).find("<rss><channel><item><guid>b</guid>"))
        << StateOf(feed);
    EXPECT_EQ(S_OK, Set(feed, "a", -1, -1));
    EXPECT_EQ(S_OK, Set(feed, "c", -1, 1));
    EXPECT_EQ("guid=b read=1|guid=a|guid=c dontshow=1", StateSummary(StateOf(feed)));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsItemState, AnUpdateChangesOnlyThatRecord)
{
    std::string feed = FeedWithItems();
    WriteState(feed, "<?xml version='1.0' encoding='utf-8'?><rss><channel><title>Status</title>"
                     "<item><guid>a</guid><read>1</read></item>"
                     "<item><guid>b</guid><notiz>wichtig</notiz><dontshow>0</dontshow></item>"
                     "<item><guid>b</guid><read>1</read></item>"
                     "<orvo2><item><guid>c</guid><read>1</read></item></orvo2>"
                     "<item><guid>c</guid><dontshow>1</dontshow></item></channel></rss>");
    struct Row {
        const char* name;
        const char* guid;
        int read;
        int hidden;
        const char* expected;
    } rows[] = {
        {"read of the first of two records", "b", 0, -1,
         "T=|guid=a read=1|guid=b notiz=wichtig dontshow=0 read=0|guid=b read=1|orvo2:item=c1|"
         "guid=c dontshow=1"},
        {"hidden set again", "b", -1, 2,
         "T=|guid=a read=1|guid=b notiz=wichtig dontshow=2 read=0|guid=b read=1|orvo2:item=c1|"
         "guid=c dontshow=1"},
        {"negative values are written", "c", -5, 0,
         "T=|guid=a read=1|guid=b notiz=wichtig dontshow=2 read=0|guid=b read=1|orvo2:item=c1|"
         "guid=c dontshow=0 read=-5"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(S_OK, Set(feed, row.guid, row.read, row.hidden)) << row.name;
        std::string summary = StateSummary(StateOf(feed));
        EXPECT_EQ(row.expected, summary.replace(0, summary.find('|'), "T=")) << row.name;
    }
    // dontshow 2 is no hidden mark, read -5 no read mark.
    EXPECT_EQ("b:0|c:0|o:0|Kunde's \"Tipp\":0", Summary(FileNews(feed, "", 0, 0)));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsItemState, GuidsAreFoundWhereverTheFeedHasThemAndWhateverTheyHold)
{
    std::string feed = FeedWithItems();
    EXPECT_EQ(S_OK, Set(feed, "o", 1, -1));
    EXPECT_EQ(S_OK, Set(feed, "Kunde's \"Tipp\"", 1, 1));
    EXPECT_EQ("guid=o read=1|guid=Kunde's \"Tipp\" read=1 dontshow=1", StateSummary(StateOf(feed)));
    EXPECT_EQ("a:0|b:0|c:0|o:1|Kunde's \"Tipp\":1", Summary(FileNews(feed, "", 1, 1)));
    EXPECT_EQ("a:0|b:0|c:0", Summary(FileNews(feed, "", 0, 0)));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsItemState, CallsWithoutAnItemToMarkAreRefusedWithoutTrace)
{
    std::string feed = FeedWithItems();
    struct Row {
        const char* name;
        std::string feedPath;
        const char* guid;
    } rows[] = {
        {"empty feed path", "", "a"},
        {"empty guid", feed, ""},
        {"missing feed", m_temp.File("fehlt.xml"), "a"},
        {"guid not in the feed", feed, "z"},
        {"guid only in a category", feed, "status"},
        {"apostrophe guid not in the feed", feed, "Kunde's"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(E_INVALIDARG, Set(row.feedPath, row.guid, 1, 1)) << row.name;
        EXPECT_EQ("(no file)", StateOf(feed)) << row.name;
    }
    auto setState = NvinfoModule::Proc<PFN_NV_SETNEWSITEMSTATE>("SetNewsItemState");
    EXPECT_EQ(E_INVALIDARG, setState(nullptr, nullptr, 1, 1));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsItemState, BrokenFilesAreReportedAndLeftAsTheyAre)
{
    std::string feed = FeedWithItems();
    const std::string malformed = "<rss><channel><item><guid>a</guid></channel>";
    WriteState(feed, malformed);
    long result = Set(feed, "a", 1, -1);
    EXPECT_LT(result, 0);
    EXPECT_EQ(malformed, StateOf(feed));
    ASSERT_EQ(1u, m_dialogs.Dialogs().size());
    EXPECT_EQ("nvinfo", m_dialogs.Dialogs()[0].caption);
    EXPECT_EQ(0u, m_dialogs.Dialogs()[0].text.find(kStateError + "XML ParseError:"))
        << m_dialogs.Dialogs()[0].text;

    m_dialogs.Clear();
    std::string brokenFeed = WriteFeed("kaputt.xml", "<item><guid>a</guid>");
    EXPECT_LT(Set(brokenFeed, "a", 1, -1), 0);
    EXPECT_EQ("(no file)", StateOf(brokenFeed));
    ASSERT_EQ(1u, m_dialogs.Dialogs().size());
    EXPECT_EQ(0u, m_dialogs.Dialogs()[0].text.find(kStateError + "XML ParseError:"));
}

TEST_F(NewsItemState, AFailedWriteKeepsTheOldMarksAndIsNoSuccess)
{
    std::string feed = FeedWithItems();
    ASSERT_EQ(S_OK, Set(feed, "a", 1, -1));
    ASSERT_EQ(S_OK, Set(feed, "b", -1, 1));
    std::string before = StateOf(feed);
    std::string stateFile = NewsStateFile(feed.substr(feed.find_last_of('\\') + 1));
    // Another reader holds the file open without sharing deletion: it can be
    // read but not replaced.
    HANDLE reader = CreateFileA(stateFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    long result = Set(feed, "c", 1, 1);
    CloseHandle(reader);
    EXPECT_LT(result, 0);
    EXPECT_EQ(before, StateOf(feed));
    ASSERT_EQ(1u, m_dialogs.Dialogs().size());
    EXPECT_EQ(0u, m_dialogs.Dialogs()[0].text.find(kStateError + "Cannot replace " + stateFile))
        << m_dialogs.Dialogs()[0].text;
    // Nothing of the attempt is left beside the state file.
    std::string folder = stateFile.substr(0, stateFile.find_last_of('\\'));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\nvs*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

} // namespace
