// Reading and editing nodes.
#include "xml_test_support.h"
#include <climits>
#include <vector>

const char kItem[] = "<rss><channel><item id=\"0123456789\" empty=\"\"><guid>g1</guid>"
                     "<description>Text <b>fett</b> Ende</description></item></channel></rss>";

// The buffer form is what GetAttributeString reads through, which the constraints use.
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
    CNvXmlNode item = DocumentFromText(kItem).SelectSingleNode("channel/item");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<char> buffer(row.size + 64, 'X');
        EXPECT_EQ(buffer.data(),
                  item.GetAttribute(row.attribute, buffer.data(), row.size, row.defaultText));
        EXPECT_EQ(row.expected, buffer.data());
        EXPECT_EQ(std::string(64, 'X'), std::string(buffer.begin() + row.size, buffer.end()));
        EXPECT_EQ(row.expected, item.GetAttributeString(row.attribute, row.defaultText, row.size));
    }
}

TEST(NodeText, TextOfDescendantsReplacedAsPlainText)
{
    CNvXmlDocument document = DocumentFromText(kItem);
    CNvXmlNode description = document.SelectSingleNode("channel/item/description");
    EXPECT_EQ("Text fett Ende", description.GetTextString());
    description.SetValue("neu & <anders>");
    description.SetValue(nullptr); // changes nothing, even on an empty node
    EXPECT_EQ("neu & <anders>", description.GetTextString());
    EXPECT_EQ(S_OK, CatchRaised([] { CNvXmlNode().SetValue(nullptr); }).hr);
    EXPECT_EQ(E_POINTER, CatchRaised([] { CNvXmlNode().GetText(); }).hr);
}

TEST(NodeEdit, AddChildAppendsLastWithTextOrNumber)
{
    CNvXmlDocument document = DocumentFromText("<Update><Name>x</Name></Update>");
    CNvXmlNode root = document.SelectSingleNode(".");
    root.AddChild("Low", static_cast<long>(LONG_MIN));
    root.AddChild("Text", "Gr\xFC\xDF"
                          "e");
    root.AddChild("Empty", nullptr);
    root.SetChildNumber("read", 7);
    root.SetChildNumber("read", -5); // changes the child the first call appended
    std::string children;
    for (CNvXmlNodeList list = root.SelectNodes("*"); list.Next();)
        children += list.GetCurrent().GetNodeName() + "=" + list.GetCurrent().GetTextString() + "|";
    EXPECT_EQ("Name=x|Low=-2147483648|Text=Gr\xFC\xDF"
              "e|Empty=|read=-5|",
              children);
}
