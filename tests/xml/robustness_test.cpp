// Long texts wherever the layer formats or copies: no bound of a fixed buffer
// may be reached, whatever the length of the arguments.
#include "xml/xpath_literal.h"
#include "xml_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

const size_t kLong = 100 * 1024;

std::string LongText(char first)
{
    std::string text(kLong, first);
    text[kLong / 2] = '\'';
    return text;
}

TEST(Robustness, DescriptionsFromHugeArguments)
{
    std::string a(kLong, 'a');
    std::string b(2 * kLong, 'b');
    RaisedError error = CatchRaised(
        [&] { NvXmlClass::ThrowIf(true, E_FAIL, "%s|%s|%d", a.c_str(), b.c_str(), 42); });
    EXPECT_EQ(a + "|" + b + "|42", error.description);
}

TEST(Robustness, HugeTextsInXPathValuesAndAttributes)
{
    CNvXmlDocument document = DocumentFromText("<rss><channel/></rss>");
    CNvXmlNode channel = document.SelectSingleNode("channel");
    std::string guid = LongText('g');
    std::string attribute = LongText('v');
    CNvXmlNode item = channel.AddChild("item", "");
    item.AddChild("guid", guid.c_str());
    item.SetAttribute("title", attribute.c_str());
    channel.AddChild("item", "").AddChild("guid", (guid + "x").c_str());

    CNvXmlNode found =
        document.SelectSingleNode("channel/item[guid=%s]", XPathLiteral(guid).c_str());
    ASSERT_FALSE(found.IsEmpty());
    EXPECT_EQ(guid, found.SelectSingleNode("guid").GetTextString());
    EXPECT_EQ(attribute, found.GetAttributeString("title", "", static_cast<int>(kLong) + 1));

    std::vector<char> buffer(1024 + 64, 'X');
    found.GetAttribute("title", buffer.data(), 1024, "");
    EXPECT_EQ(attribute.substr(0, 1023), std::string(buffer.data()));
    for (size_t i = 1024; i < buffer.size(); ++i)
        ASSERT_EQ('X', buffer[i]) << "byte " << i;
}

TEST(Robustness, HugeMalformedTextRaisesParseError)
{
    std::string text = "<rss><channel>" + std::string(kLong, 't') + "</rss>";
    RaisedError error = CatchRaised([&] { DocumentFromText(text); });
    EXPECT_TRUE(error.fromLayer);
    EXPECT_LT(error.hr, 0);
    EXPECT_TRUE(StartsWith(error.description, "XML ParseError:\r\nDescription: "));
}

} // namespace
