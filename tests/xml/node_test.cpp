// Reading and editing nodes, and walking node lists.
#include "xml_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

const char kItem[] =
    "<rss><channel><item id=\"0123456789\" empty=\"\"><guid>g1</guid>"
    "<description>Text <b>fett</b> Ende</description></item></channel></rss>";

struct AttributeRow {
    const char* name;
    const char* attribute;
    int size;
    const char* defaultText;
    const char* expected;
};

TEST(NodeAttribute, CopiesValueOrDefaultIntoTheBuffer)
{
    const AttributeRow rows[] = {
        {"value", "id", 64, "d", "0123456789"},
        {"exact fit", "id", 11, "d", "0123456789"},
        {"cut to size - 1", "id", 4, "d", "012"},
        {"room for the zero only", "id", 1, "d", ""},
        {"missing gives default", "missing", 64, "fallback", "fallback"},
        {"missing with null default", "missing", 64, nullptr, ""},
        {"default is cut too", "missing", 5, "fallback", "fall"},
        {"empty value is no default", "empty", 64, "fallback", ""},
    };
    CNvXmlDocument document = DocumentFromText(kItem);
    CNvXmlNode item = document.SelectSingleNode("channel/item");
    for (const AttributeRow& row : rows) {
        SCOPED_TRACE(row.name);
        char buffer[80];
        std::memset(buffer, 'X', sizeof buffer);
        EXPECT_EQ(buffer, item.GetAttribute(row.attribute, buffer, row.size, row.defaultText));
        EXPECT_STREQ(row.expected, buffer);
        // Nothing is written past the given size.
        for (size_t i = static_cast<size_t>(row.size); i < sizeof buffer; ++i)
            ASSERT_EQ('X', buffer[i]) << "byte " << i;
        EXPECT_EQ(row.expected, item.GetAttributeString(row.attribute, row.defaultText, row.size));
    }
}

TEST(NodeAttribute, SetAttributeAddsAndReplaces)
{
    CNvXmlDocument document = DocumentFromText(kItem);
    CNvXmlNode item = document.SelectSingleNode("channel/item");
    item.SetAttribute("read", "0");
    item.SetAttribute("id", "neu");
    EXPECT_FALSE(document.SelectSingleNode("channel/item[@read='0' and @id='neu']").IsEmpty());
}

TEST(NodeText, TextOfNodeAndDescendants)
{
    CNvXmlDocument document = DocumentFromText(kItem);
    CNvXmlNode description = document.SelectSingleNode("channel/item/description");
    EXPECT_EQ("Text fett Ende", description.GetTextString());
    EXPECT_EQ(L"Text fett Ende", std::wstring(description.GetText().Get()));
    EXPECT_EQ("description", description.GetNodeName());
    EXPECT_EQ(E_POINTER, CatchRaised([] { CNvXmlNode().GetText(); }).hr);
}

TEST(NodeText, SetValueReplacesContentAndIgnoresNull)
{
    CNvXmlDocument document = DocumentFromText(kItem);
    CNvXmlNode description = document.SelectSingleNode("channel/item/description");
    description.SetValue("neu & <anders>");
    EXPECT_EQ("neu & <anders>", description.GetTextString());
    EXPECT_TRUE(description.SelectSingleNode("b").IsEmpty());

    description.SetValue(nullptr);
    EXPECT_EQ("neu & <anders>", description.GetTextString());
    EXPECT_FALSE(CatchRaised([] { CNvXmlNode().SetValue(nullptr); }).raised);
}

TEST(NodeText, DomFailuresInsideSetValueAndPutdataTypeNameTheOperation)
{
    CNvXmlDocument document = DocumentFromText(kItem);
    RaisedError setValue =
        CatchRaised([&] { CNvXmlNode(document.Document().Get()).SetValue("text"); });
    EXPECT_TRUE(setValue.fromLayer);
    EXPECT_LT(setValue.hr, 0);
    EXPECT_TRUE(StartsWith(setValue.description, "CNvXmlNode:SetValue: ")) << setValue.description;

    RaisedError dataType =
        CatchRaised([&] { document.SelectSingleNode("channel/item").PutdataType("no.such.type"); });
    EXPECT_TRUE(dataType.fromLayer);
    EXPECT_LT(dataType.hr, 0);
    EXPECT_TRUE(StartsWith(dataType.description, "CNvXmlNode:PutdataType: ")) << dataType.description;
}

TEST(NodeEdit, AddChildAppendsLastWithTextNumberAndDataType)
{
    CNvXmlDocument document = DocumentFromText("<Update><Name>x</Name></Update>");
    CNvXmlNode root = document.SelectSingleNode(".");
    CNvXmlNode size = root.AddChild("Size", 1234L, "i4");
    root.AddChild("Low", static_cast<long>(LONG_MIN));
    CNvXmlNode text = root.AddChild("Text", "Gr\xFC\xDF" "e");
    root.AddChild("Empty", nullptr);

    EXPECT_EQ("1234", size.GetTextString());
    EXPECT_EQ("i4", size.GetAttributeString("dt:dt", "", 16));
    EXPECT_EQ("-2147483648", document.SelectSingleNode("Low").GetTextString());
    EXPECT_EQ("Gr\xFC\xDF" "e", text.GetTextString());
    EXPECT_EQ("Empty", document.SelectSingleNode("*[last()]").GetNodeName());
    EXPECT_EQ("", document.SelectSingleNode("Empty").GetTextString());
    // The returned node is the one in the document.
    text.SetValue("ge\xE4ndert");
    EXPECT_EQ("ge\xE4ndert", document.SelectSingleNode("Text").GetTextString());
}

TEST(NodeEdit, SetChildNumberAddsOnceThenUpdates)
{
    CNvXmlDocument document = DocumentFromText("<rss><Info/></rss>");
    CNvXmlNode info = document.SelectSingleNode("Info");
    info.SetChildNumber("read", -5);
    EXPECT_EQ("-5", document.SelectSingleNode("Info/read").GetTextString());
    info.SetChildNumber("read", 7);
    CNvXmlNodeList reads = document.SelectNodes("Info/read");
    ASSERT_TRUE(reads.Next());
    EXPECT_EQ("7", reads.GetCurrent().GetTextString());
    EXPECT_FALSE(reads.Next());
}

TEST(NodeEdit, AppendChildMovesWithinAndAcrossDocuments)
{
    CNvXmlDocument feed = DocumentFromText(
        "<rss><channel><title>T</title><item><guid>g1</guid></item></channel></rss>");
    CNvXmlDocument output = DocumentFromText("<rss><channel/></rss>");
    CNvXmlNode target = output.SelectSingleNode("channel");

    CNvXmlNode moved = target.AppendChild(feed.SelectSingleNode("channel/item"));
    EXPECT_EQ("g1", moved.SelectSingleNode("guid").GetTextString());
    EXPECT_EQ("g1", output.SelectSingleNode("channel/item/guid").GetTextString());
    EXPECT_TRUE(feed.SelectSingleNode("channel/item").IsEmpty());

    CNvXmlNode title = feed.SelectSingleNode("channel/title");
    feed.SelectSingleNode(".").AppendChild(title);
    EXPECT_TRUE(feed.SelectSingleNode("channel/title").IsEmpty());
    EXPECT_EQ("T", feed.SelectSingleNode("title").GetTextString());
}

TEST(NodeEdit, RemoveChildDetachesTheNode)
{
    CNvXmlDocument document = DocumentFromText(kItem);
    CNvXmlNode item = document.SelectSingleNode("channel/item");
    CNvXmlNode removed = item.RemoveChild(item.SelectSingleNode("guid"));
    EXPECT_EQ("g1", removed.GetTextString());
    EXPECT_TRUE(document.SelectSingleNode("channel/item/guid").IsEmpty());
}

TEST(NodeEdit, CreateElementMakesAFreeElementWithText)
{
    CNvXmlDocument document = DocumentFromText("<rss/>");
    CNvXmlNode updates = document.CreateElement("Updates", "");
    CNvXmlNode named = document.CreateElement("Name", "Lohn");
    EXPECT_EQ("Lohn", named.GetTextString());
    EXPECT_TRUE(document.SelectSingleNode("//Updates").IsEmpty());
    document.SelectSingleNode(".").AppendChild(updates).AppendChild(named);
    EXPECT_EQ("Lohn", document.SelectSingleNode("Updates/Name").GetTextString());
}

TEST(NodeEdit, CopiesShareTheNode)
{
    CNvXmlDocument document = DocumentFromText(kItem);
    CNvXmlNode original = document.SelectSingleNode("channel/item/guid");
    CNvXmlNode copy = original;
    copy.SetValue("g9");
    EXPECT_EQ("g9", original.GetTextString());
    EXPECT_EQ(original.Node().Get(), copy.Node().Get());
}

TEST(NodeView, ElementViewOnlyForElements)
{
    CNvXmlDocument document = DocumentFromText(kItem);
    CNvXmlNode element = document.SelectSingleNode("channel/item");
    EXPECT_TRUE(element.Element());
    CNvXmlNode text = document.SelectSingleNode("channel/item/guid/text()");
    ASSERT_FALSE(text.IsEmpty());
    EXPECT_FALSE(text.Element());
    EXPECT_EQ("g1", text.GetTextString());
    CNvXmlNode fromElement(element.Element().Get());
    EXPECT_EQ("item", fromElement.GetNodeName());
}

TEST(NodeList, NextVisitsEachNodeOnceInOrder)
{
    CNvXmlDocument document = DocumentFromText("<r><n>1</n><n>2</n><n>3</n></r>");
    CNvXmlNodeList list = document.SelectNodes("n");
    RaisedError beforeFirst = CatchRaised([&] { list.GetCurrent(); });
    EXPECT_EQ("Current node doesn't exist!", beforeFirst.description);
    std::string seen;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(list.Next()) << "node " << i;
        seen += list.GetCurrent().GetTextString();
    }
    EXPECT_EQ("123", seen);
    EXPECT_FALSE(list.Next());
    RaisedError afterEnd = CatchRaised([&] { list.GetCurrent(); });
    EXPECT_TRUE(afterEnd.fromLayer);
    EXPECT_EQ(E_FAIL, afterEnd.hr);
    EXPECT_EQ("Current node doesn't exist!", afterEnd.description);
}

} // namespace
