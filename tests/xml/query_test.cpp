// XPath selection: the root element as context, failures, and literals that select exactly their
// text (selections with formats and arguments the news exports show); attributes read into a
// caller's buffer.
#include "xml/xpath_literal.h"
#include "xml_test_support.h"
#include <vector>

namespace {

TEST(Query, DotIsTheRootElementAndFailuresRaise)
{
    CNvXmlDocument document = DocumentFromText("<rss version=\"2.0\"><channel/></rss>");
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
        CNvXmlNodeList found =
            document.SelectNodes("channel/item[guid=%s]", nv::XPathLiteral(row.second).c_str());
        ASSERT_TRUE(found.Next());
        EXPECT_EQ(row.second, found.GetCurrent().SelectSingleNode("guid").GetTextString());
        EXPECT_FALSE(found.Next());
    }
}

// The buffer form the constraints read attributes through.
TEST(NodeAttribute, CopiesValueOrDefaultIntoTheBuffer)
{
    const struct {
        const char *name, *attribute;
        int size;
        const char* defaultText;
        std::string expected;
    } rows[] = {
        {"exact fit", "id", 11, "d", "0123456789"},
        {"cut to size - 1", "id", 4, "d", "012"},
        {"missing gives default", "missing", 64, "fallback", "fallback"},
        {"missing with null default", "missing", 64, nullptr, ""},
        {"empty value is no default", "empty", 64, "fallback", ""},
    };
    CNvXmlNode item = DocumentFromText("<rss><item id=\"0123456789\" empty=\"\"/></rss>")
                          .SelectSingleNode("item");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<char> buffer(row.size + 64, 'X');
        EXPECT_EQ(buffer.data(),
                  item.GetAttribute(row.attribute, buffer.data(), row.size, row.defaultText));
        EXPECT_EQ(row.expected, buffer.data());
        EXPECT_EQ(std::string(64, 'X'), std::string(buffer.begin() + row.size, buffer.end()));
    }
}

} // namespace
