// Recording through SetNewsItemState that a user has read or hidden a news
// item, and what the next reading of the feed makes of it.
#include "news_fixture.h"

namespace {

const char* const kTipp = "Kunde's \"Tipp\"";

class NewsItemState : public NewsFixture {
protected:
    std::string m_feed = WriteFeed(Item("a") + Item("b") + "<orvo2>" + Item("o") + "</orvo2>" +
                                   Item(kTipp, "<category>c</category>"));
};

TEST_F(NewsItemState, MarksCreateTheirRecordOrChangeOnlyIt)
{
    EXPECT_EQ(S_OK, SetNewsItemState(m_feed.c_str(), "b", 1, -1));
    EXPECT_EQ("<item><guid>b</guid><read>1</read></item>", State(m_feed));
    const std::string before = "<title>S</title><orvo2><item><guid>o</guid></item></orvo2>";
    const std::string second = "<item><guid>b</guid><read>1</read></item>";
    WriteState(m_feed, "<rss><channel>" + before +
                           Item("b", "<notiz>n</notiz><dontshow>0</dontshow>") + second +
                           "</channel></rss>");
    const std::string b = "<item><guid>b</guid><notiz>n</notiz><dontshow>";
    const std::string b2 = b + "2</dontshow><read>0</read></item>" + second;
    const std::string o = "<item><guid>o</guid></item>";
    const struct { const char *name, *guid; int read, hidden; std::string expected; } rows[] = {
        {"first of two records", "b", 0, -1, b + "0</dontshow><read>0</read></item>" + second},
        {"hidden set again", "b", -1, 2, b2},
        {"item in orvo2, record only in channel", "o", -1, -1, b2 + o},
        {"guid with both quotes", kTipp, -5, 1,
         b2 + o + "<item><guid>" + kTipp + "</guid><read>-5</read><dontshow>1</dontshow></item>"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(S_OK, SetNewsItemState(m_feed.c_str(), row.guid, row.read, row.hidden))
            << row.name;
        EXPECT_EQ(before + row.expected, State(m_feed)) << row.name;
    }
    // dontshow 2 is no hidden mark, read -5 no read mark.
    EXPECT_EQ("a:0|b:0|o:0", FileNews(m_feed, 0, 0));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsItemState, CallsWithoutAnItemToMarkAreRefusedWithoutTrace)
{
    const struct { const char* name; std::string feed; const char* guid; } rows[] = {
        {"empty feed path", "", "a"},
        {"empty guid", m_feed, ""},
        {"missing feed", m_temp.File("fehlt.xml"), "a"},
        {"guid not in the feed", m_feed, "z"},
        {"guid only in a category", m_feed, "c"},
        {"apostrophe guid not in the feed", m_feed, "Kunde's"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(E_INVALIDARG, SetNewsItemState(row.feed.c_str(), row.guid, 1, 1)) << row.name;
        EXPECT_EQ("(no file)", State(m_feed)) << row.name;
    }
    EXPECT_EQ(E_INVALIDARG, SetNewsItemState(nullptr, nullptr, 1, 1));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsItemState, AFailedWriteKeepsTheStateFileAndIsReported)
{
    ASSERT_EQ(S_OK, SetNewsItemState(m_feed.c_str(), "a", 1, -1));
    const std::string path = StatePath(m_feed);
    const struct { const char* name; bool heldOpen; std::string content, message; } rows[] = {
        {"file held open", true, ReadWholeFile(path), "Cannot replace " + path},
        {"file that does not load", false, "<rss><channel>", "XML ParseError:"},
    };
    for (const auto& row : rows) {
        WriteState(m_feed, row.content);
        // A reader not sharing deletion lets the file be read but not replaced.
        HANDLE reader = row.heldOpen ? CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                   nullptr, OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE;
        long result = SetNewsItemState(m_feed.c_str(), "b", 1, 1);
        if (row.heldOpen)
            CloseHandle(reader);
        EXPECT_LT(result, 0) << row.name;
        EXPECT_EQ(row.content, ReadWholeFile(path)) << row.name;
        const std::string text = "Es trat ein Fehler bei SetNewsItemState auf.\n" + row.message;
        EXPECT_EQ("nvinfo: " + text, TakeMessage(text.size())) << row.name;
    }
    // Nothing of the attempt is left beside the state file.
    WIN32_FIND_DATAA found;
    std::string pattern = path.substr(0, path.rfind('\\')) + "\\nvs*.tmp";
    EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA(pattern.c_str(), &found)) << found.cFileName;
}

} // namespace
