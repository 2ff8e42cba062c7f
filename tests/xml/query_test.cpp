// XPath selection relative to the root element or a node, from format strings.
#include "xml/xpath_literal.h"
#include "xml_test_support.h"
#include <vector>

namespace {

const char kFeed[] = "<rss version=\"2.0\"><channel><title>Neuigkeiten</title>"
                     "<item><guid>g1</guid><category>Steuer</category></item>"
                     "<item><guid>g2</guid><category>Lohn</category></item>"
                     "<orvo2><item><guid>g3</guid><category>Steuer</category></item></orvo2>"
                     "</channel></rss>";

std::vector<std::string> Guids(CNvXmlNodeList list)
{
    std::vector<std::string> guids;
    while (list.Next())
        guids.push_back(list.GetCurrent().SelectSingleNode("guid").GetTextString());
    return guids;
}

TEST(Query, SelectsRelativeToTheRootElement)
{
    const struct {
        const char *name, *format, *argument;
        std::vector<std::string> guids;
    } rows[] = {
        {"child path", "channel/item", "", {"g1", "g2"}},
        {"predicate with argument",
         "channel/item[category='%s']|channel/orvo2/item[category='%s']",
         "Steuer",
         {"g1", "g3"}},
        {"no match", "channel/item[category='%s']", "Miete", {}},
        {"root is no child of itself", "rss", "", {}},
    };
    CNvXmlDocument document = DocumentFromText(kFeed);
    for (const auto& row : rows) {
        const char* a = row.argument; // both places of a doubled argument get the same text
        EXPECT_EQ(row.guids, Guids(document.SelectNodes(row.format, a, a))) << row.name;
        EXPECT_EQ(row.guids.empty(), document.SelectSingleNode(row.format, a, a).IsEmpty())
            << row.name;
    }
}

TEST(Query, DotIsTheRootElementAndFailuresRaise)
{
    CNvXmlDocument document = DocumentFromText(kFeed);
    EXPECT_EQ("2.0", document.SelectSingleNode(".").GetAttributeString("version", "", 16));
    EXPECT_LT(CatchRaised([&] { document.SelectSingleNode("channel[["); }).hr, 0);
    CNvXmlDocument withoutRoot(CNvXmlDocument::Create());
    EXPECT_EQ(E_POINTER, CatchRaised([&] { withoutRoot.SelectNodes("item"); }).hr);
}

// Each text selects exactly its own item, among decoys that differ only around the quotes.
TEST(XPathLiteral, SelectsExactlyTheMatchingItem)
{
    std::string longText(100000, 'g');
    longText[50000] = '\'';
    const std::pair<const char*, std::string> rows[] = {
        {"empty", ""},
        {"double quotes", "say \"hi\""},
        {"both kinds", "it's \"new\""},
        {"non-ASCII", "Gr\xFC\xDF"
                      "e '\xE4'"},
        {"100 KB with an apostrophe", longText},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        CNvXmlDocument document = DocumentFromText("<rss><channel/></rss>");
        CNvXmlNode channel = document.SelectSingleNode("channel");
        for (const std::string& guid : {"\"" + row.second, row.second, row.second + "'"})
            channel.AddChild("item", "").AddChild("guid", guid.c_str());
        std::string literal = nv::XPathLiteral(row.second);
        EXPECT_EQ(std::vector<std::string>{row.second},
                  Guids(document.SelectNodes("channel/item[guid=%s]", literal.c_str())));
    }
}

} // namespace
