// XPath selection relative to the root element or a node, from format strings.
#include "xml/xpath_literal.h"
#include "xml_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const char kFeed[] =
    "<rss version=\"2.0\"><channel><title>Neuigkeiten</title>"
    "<item><guid>g1</guid><category>Steuer</category></item>"
    "<item><guid>g2</guid><category>Lohn</category></item>"
    "<orvo2><item><guid>g3</guid><category>Steuer</category></item></orvo2>"
    "</channel></rss>";

// Text of the `guid` child of every node in the list, in list order.
std::vector<std::string> Guids(CNvXmlNodeList list)
{
    std::vector<std::string> guids;
    while (list.Next())
        guids.push_back(list.GetCurrent().SelectSingleNode("guid").GetTextString());
    return guids;
}

struct QueryRow {
    const char* name;
    const char* format;
    const char* argument;
    std::vector<std::string> guids;
};

TEST(Query, SelectsRelativeToTheRootElement)
{
    const QueryRow rows[] = {
        {"child path", "channel/item", nullptr, {"g1", "g2"}},
        {"absolute path", "/rss/channel/item", nullptr, {"g1", "g2"}},
        {"union in document order", "channel/orvo2/item|channel/item", nullptr, {"g1", "g2", "g3"}},
        {"predicate with argument", "channel/item[category='%s']|channel/orvo2/item[category='%s']",
         "Steuer", {"g1", "g3"}},
        {"predicate on guid", "channel/item[guid = '%s']", "g2", {"g2"}},
        {"XPath position", "channel/item[last()]", nullptr, {"g2"}},
        {"descendants", ".//item[category='%s']", "Lohn", {"g2"}},
        {"no match", "channel/item[category='%s']", "Miete", {}},
        {"root is no child of itself", "rss", nullptr, {}},
    };
    CNvXmlDocument document = DocumentFromText(kFeed);
    for (const QueryRow& row : rows) {
        SCOPED_TRACE(row.name);
        // Both places of a doubled argument get the same text.
        std::vector<std::string> guids =
            row.argument ? Guids(document.SelectNodes(row.format, row.argument, row.argument))
                         : Guids(document.SelectNodes("%s", row.format));
        EXPECT_EQ(row.guids, guids);
        CNvXmlNode first = row.argument ? document.SelectSingleNode(row.format, row.argument, row.argument)
                                        : document.SelectSingleNode("%s", row.format);
        EXPECT_EQ(row.guids.empty(), first.IsEmpty());
        if (!row.guids.empty()) {
            EXPECT_EQ(row.guids.front(), first.SelectSingleNode("guid").GetTextString());
        }
    }
}

TEST(Query, DotIsTheRootElementAndNumbersFormat)
{
    CNvXmlDocument document = DocumentFromText(kFeed);
    CNvXmlNode root = document.SelectSingleNode(".");
    EXPECT_EQ("rss", root.GetNodeName());
    EXPECT_EQ("2.0", root.GetAttributeString("version", "", 16));
    EXPECT_EQ("g2", document.SelectSingleNode("channel/item[%d]/guid", 2).GetTextString());
}

TEST(Query, SelectsRelativeToANode)
{
    CNvXmlDocument document = DocumentFromText(kFeed);
    CNvXmlNode channel = document.SelectSingleNode("channel");
    EXPECT_EQ((std::vector<std::string>{"g1", "g2"}), Guids(channel.SelectNodes("item")));
    EXPECT_EQ("Neuigkeiten", channel.SelectSingleNode("title").GetTextString());
    EXPECT_TRUE(channel.SelectSingleNode("channel").IsEmpty());
    EXPECT_EQ("channel", channel.SelectSingleNode("item/guid/../..").GetNodeName());
}

TEST(Query, FailuresOfTheDocumentAndTheParser)
{
    CNvXmlDocument document = DocumentFromText(kFeed);
    RaisedError invalid = CatchRaised([&] { document.SelectSingleNode("channel[["); });
    EXPECT_TRUE(invalid.raised);
    EXPECT_LT(invalid.hr, 0);

    CNvXmlDocument withoutRoot(CNvXmlDocument::Create());
    EXPECT_EQ(E_POINTER, CatchRaised([&] { withoutRoot.SelectSingleNode("."); }).hr);
    EXPECT_EQ(E_POINTER, CatchRaised([&] { withoutRoot.SelectNodes("item"); }).hr);
}

TEST(XPathLiteral, OrdinaryTextKeepsTheSingleQuotedForm)
{
    EXPECT_EQ("'abc'", XPathLiteral("abc"));
    EXPECT_EQ("''", XPathLiteral(""));
    EXPECT_EQ("'say \"hi\"'", XPathLiteral("say \"hi\""));
}

// Every text must select exactly the item whose guid it is, among decoys that
// differ only around the quotes.
TEST(XPathLiteral, SelectsExactlyTheMatchingItem)
{
    const std::vector<std::pair<const char*, std::string>> rows = {
        {"plain", "abc"},
        {"empty", ""},
        {"apostrophe", "O'Brien"},
        {"double quotes", "say \"hi\""},
        {"both kinds", "it's \"new\""},
        {"only an apostrophe", "'"},
        {"apostrophe runs at both ends", "''a'''b'"},
        {"injection attempt", "x' or '1'='1"},
        {"non-ASCII", "Gr\xFC\xDF" "e '\xE4'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        CNvXmlDocument document = DocumentFromText("<rss><channel/></rss>");
        CNvXmlNode channel = document.SelectSingleNode("channel");
        for (const std::string& guid : {"\"" + row.second, row.second, row.second + "'"})
            channel.AddChild("item", "").AddChild("guid", guid.c_str());
        std::string literal = XPathLiteral(row.second);
        CNvXmlNodeList matches = document.SelectNodes("channel/item[guid=%s]", literal.c_str());
        ASSERT_TRUE(matches.Next()) << literal;
        EXPECT_EQ(row.second, matches.GetCurrent().SelectSingleNode("guid").GetTextString());
        EXPECT_FALSE(matches.Next()) << literal;
    }
}

} // namespace
