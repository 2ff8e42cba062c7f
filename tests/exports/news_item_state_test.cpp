// Recording through SetNewsItemState that a user has read or hidden a news
// item, and what the next reading of the feed makes of it.
#include "news_fixture.h"

#include "harness/held_file.h"

#include <atomic>
#include <thread>

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
    EXPECT_EQ(R"(<?xml version="1.0" encoding="utf-8"?>
<rss><channel><item><guid>b</guid><read>1</read></item></channel></rss>
)",
              ReadWholeFile(StatePath(m_feed)));
    const std::string before = "<title>S</title><orvo2><item><guid>o</guid></item></orvo2>";
    const std::string second = "<item><guid>b</guid><read>1</read></item>";
    WriteState(m_feed, "<rss><channel>" + before +
                           Item("b", "<notiz>n</notiz><dontshow>0</dontshow>") + second +
                           "</channel></rss>");
    const std::string b = "<item><guid>b</guid><notiz>n</notiz><dontshow>";
    const std::string b2 = b + "2</dontshow><read>0</read></item>" + second;
    const std::string o = "<item><guid>o</guid></item>";
    const struct {
        const char *name, *guid;
        int read, hidden;
        std::string expected;
    } rows[] = {
        {"first of two records", "b", 0, -1, b + "0</dontshow><read>0</read></item>" + second},
        {"hidden set again", "b", -1, 2, b2},
        {"item in orvo2, record only in channel", "o", -1, -1, b2 + o},
        {"guid with both quotes", kTipp, -5, 1,
         b2 + o + "<item><guid>" + kTipp + "</guid><read>-5</read><dontshow>1</dontshow></item>"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(S_OK, SetNewsItemState(m_feed.c_str(), row.guid, row.read, row.hidden))
            << row.name;
        EXPECT_EQ(NormalXml("<rss><channel>" + before + row.expected + "</channel></rss>"),
                  State(m_feed))
            << row.name;
    }
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

// A missing feed, a guid not in the feed, no arguments at all.
TEST_F(NewsItemState, CallsWithoutAnItemToMarkAreRefusedWithoutTrace)
{
    const std::string missing = m_temp.File("fehlt.xml");
    const std::pair<const char*, const char*> rows[] = {
        {missing.c_str(), "a"}, {m_feed.c_str(), "z"}, {nullptr, nullptr}};
    for (const auto& [feed, guid] : rows)
        EXPECT_EQ(E_INVALIDARG, SetNewsItemState(feed, guid, 1, 1)) << (guid ? guid : "null");
    EXPECT_EQ("(no file)", State(m_feed));
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

TEST_F(NewsItemState, AFailedWriteKeepsTheStateFileAndIsReported)
{
    ASSERT_EQ(S_OK, SetNewsItemState(m_feed.c_str(), "a", 1, -1));
    const std::string path = StatePath(m_feed);
    const struct {
        const char* name;
        bool heldOpen;
        std::string content, message;
    } rows[] = {
        {"file held open", true, ReadWholeFile(path), "Cannot replace " + path},
        {"file that does not load", false, "<rss><channel>", "XML ParseError:"},
    };
    for (const auto& row : rows) {
        WriteState(m_feed, row.content);
        // A reader not sharing deletion lets the file be read but not replaced.
        std::unique_ptr<HeldFile> reader(row.heldOpen ? new HeldFile(path, FILE_SHARE_READ)
                                                      : nullptr);
        EXPECT_LT(SetNewsItemState(m_feed.c_str(), "b", 1, 1), 0) << row.name;
        reader.reset();
        EXPECT_EQ(row.content, ReadWholeFile(path)) << row.name;
        const std::string text = "Es trat ein Fehler bei SetNewsItemState auf.\n" + row.message;
        EXPECT_EQ("nvinfo: " + text, TakeMessage(text.size())) << row.name;
    }
}

// Four threads marking items of one feed at once; that the lock also holds across processes,
// the racing NDC writers prove.
TEST_F(NewsItemState, MarksSetAtOnceByFourThreadsAreAllKept)
{
    const int threads = 4, perThread = 6;
    std::string items, expected;
    for (int i = 0; i < threads * perThread; ++i) {
        items += Item("g" + std::to_string(i));
        expected += (i ? "|g" : "g") + std::to_string(i) + ":1";
    }
    const std::string feed = WriteFeed(items);
    std::atomic<int> ready(0), failed(0);
    std::vector<std::thread> markers;
    for (int t = 0; t < threads; ++t)
        markers.emplace_back([&, t] {
            CoInitialize(nullptr);
            DialogCapture boxes; // answers the box a failed call shows
            for (++ready; ready < threads;)
                Sleep(0);
            for (int i = t; i < threads * perThread; i += threads)
                failed += SetNewsItemState(feed.c_str(), ("g" + std::to_string(i)).c_str(), 1,
                                           -1) != S_OK;
        });
    for (std::thread& marker : markers)
        marker.join();
    EXPECT_EQ(0, failed.load());
    EXPECT_EQ(expected, FileNews(feed, 1, 1));
}

// Readers that share writing but not deletion, or nothing at all: the mark is
// written beside the first, and the state file outlives the second.
TEST_F(NewsItemState, StateFilesHeldByOtherProgramsAreNeitherLostNorDeleted)
{
    ASSERT_EQ(S_OK, SetNewsItemState(m_feed.c_str(), "a", 1, -1));
    const std::string path = StatePath(m_feed);
    auto reader = std::make_unique<HeldFile>(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(S_OK, SetNewsItemState(m_feed.c_str(), "b", -1, 1));
    reader.reset();
    const std::string marked = "a:1|o:0|" + std::string(kTipp) + ":0";
    EXPECT_EQ(marked, FileNews(m_feed, 1, 0));

    // Shares only deletion: nobody can read the file, but it could be deleted.
    reader = std::make_unique<HeldFile>(path, FILE_SHARE_DELETE);
    EXPECT_EQ("a:0|b:0|o:0|" + std::string(kTipp) + ":0", FileNews(m_feed, 1, 1))
        << "unreadable for the moment: read as no state";
    reader.reset();
    EXPECT_EQ(marked, FileNews(m_feed, 1, 0)) << "and still there afterwards";
    EXPECT_TRUE(m_dialogs.Dialogs().empty());
}

} // namespace
