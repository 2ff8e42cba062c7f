// Creating and loading documents, and the layer's error model: ThrowIf and every message the
// layer raises.
#include "harness/temp_folder.h"
#include "xml_test_support.h"
#include <functional>
#include <regex>
#include <thread>

namespace {

TEST(ThrowIf, RaisesLayerExceptionWithFormattedDescription)
{
    RaisedError error = CatchRaised(
        [] { NvXmlClass::ThrowIf(true, E_INVALIDARG, "Item %s: %d of %ld", "g\xFC", -3, 70000L); });
    EXPECT_TRUE(error.fromLayer);
    EXPECT_EQ(E_INVALIDARG, error.hr);
    EXPECT_EQ("Item g\xFC: -3 of 70000", error.description);
    // No fixed buffer bounds the description.
    std::string a(300000, 'a');
    auto huge = [&] { NvXmlClass::ThrowIf(true, E_FAIL, "%s|%d", a.c_str(), 42); };
    EXPECT_EQ(a + "|42", CatchRaised(huge).description);
}

// Texts ending in ": " are followed by the DOM's own description and keep the DOM's code.
void ExpectMessage(const RaisedError& error, const std::string& message)
{
    const bool fromDom = message.back() == ' ';
    EXPECT_TRUE(error.fromLayer);
    EXPECT_FALSE(error.parse);
    EXPECT_TRUE(fromDom ? error.hr < 0 : error.hr == E_FAIL) << std::hex << error.hr;
    EXPECT_EQ(message, fromDom ? error.description.substr(0, message.size()) : error.description);
}

// The checks an export can reach; the layer's other argument checks guard its own callers.
TEST(LayerMessages, ChecksTheExportsReachRaiseTheirTexts)
{
    const char* kNotInitialized = "XML Element not initialized!";
    CNvXmlDocument loaded = DocumentFromText("<r><e a=\"1\">t</e></r>");
    CNvXmlNode element = loaded.SelectSingleNode("e");
    CNvXmlNode text = loaded.SelectSingleNode("e/text()");
    CNvXmlNode empty;
    char buffer[8];
    const struct {
        const char* name;
        std::function<void()> action;
        const char* message;
    } rows[] = {
        {"no document", [] { CNvXmlDocument().SelectSingleNode("."); }, "XML Document is empty!"},
        {"text string of empty node", [&] { empty.GetTextString(); }, kNotInitialized},
        {"append to empty node", [&] { empty.AppendChild(element); }, kNotInitialized},
        {"attribute of text node", [&] { text.GetAttribute("a", buffer, 8, ""); }, kNotInitialized},
        {"DOM refuses a value", [&] { CNvXmlNode(loaded.Document().Get()).SetValue("t"); },
         "CNvXmlNode:SetValue: "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ExpectMessage(CatchRaised(row.action), row.message);
    }
    // Without COM on the thread the parser cannot be created.
    RaisedError noParser;
    std::thread([&] { noParser = CatchRaised([] { DocumentFromText("<r/>"); }); }).join();
    ExpectMessage(noParser, "Could not create XML Parser");
}

TEST(DocumentCreate, NoValidationNoExternalsAndPlainKeepsWhiteSpace)
{
    nv::ComPtr<IXMLDOMDocument> document = CNvXmlDocument::Create();
    VARIANT_BOOL validate = VARIANT_TRUE, externals = VARIANT_TRUE, loaded = VARIANT_FALSE;
    document->get_validateOnParse(&validate);
    document->get_resolveExternals(&externals);
    EXPECT_EQ(VARIANT_FALSE, validate | externals);
    nv::ComPtr<IXMLDOMDocument> plain = CNvXmlDocument::CreatePlain();
    ASSERT_EQ(S_OK, plain->loadXML(nv::BstrText("<U><Name>  </Name></U>").Get(), &loaded));
    EXPECT_EQ("  ", CNvXmlDocument(plain).SelectSingleNode("Name").GetTextString());
}

// The parser's code and texts in the module's layout, whatever code and texts the parser gives.
TEST(DocumentLoad, MissingOrMalformedInputRaisesParseError)
{
    TempFolder folder;
    CNvXmlDocument document;
    const std::string missing = folder.File("missing.xml");
    const std::regex layout("XML ParseError:\r\nDescription: .+\r\nSource: .*\r\nLine: "
                            "\\d+\r\nPos: \\d+");
    for (const RaisedError& error : {CatchRaised([&] { document.Load(missing); }),
                                     CatchRaised([&] { document.LoadXml("<rss></channel>"); })}) {
        EXPECT_TRUE(error.fromLayer);
        EXPECT_TRUE(error.parse);
        EXPECT_LT(error.hr, 0);
        EXPECT_TRUE(std::regex_match(error.description, layout)) << error.description;
    }
}

TEST(DocumentLoad, EachLoadStartsANewDocumentAndEmptyTextKeepsTheOld)
{
    CNvXmlDocument document = DocumentFromText("<rss><title>Neuigkeiten</title></rss>");
    CNvXmlNode oldTitle = document.SelectSingleNode("title");
    document.LoadXml("<rss><title>Andere</title></rss>");
    EXPECT_EQ("Neuigkeiten", oldTitle.GetTextString());
    document.LoadXml("");
    EXPECT_EQ("Andere", document.SelectSingleNode("title").GetTextString());
    EXPECT_TRUE(DocumentFromText("").IsEmpty());
}

} // namespace
