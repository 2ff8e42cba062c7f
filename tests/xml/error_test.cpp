// The layer's error model: ThrowIf and every message the layer raises.
#include "xml_test_support.h"

#include <functional>

namespace {

TEST(ThrowIf, RaisesLayerExceptionWithFormattedDescription)
{
    RaisedError error = CatchRaised([] {
        NvXmlClass::ThrowIf(true, E_INVALIDARG, "Item %s: %d of %ld", "g\xFC", -3, 70000L);
    });
    EXPECT_TRUE(error.fromLayer);
    EXPECT_EQ(E_INVALIDARG, error.hr);
    EXPECT_EQ("Item g\xFC: -3 of 70000", error.description);
    auto nullFormat = [] { NvXmlClass::ThrowIfV(true, E_FAIL, nullptr, nullptr); };
    EXPECT_EQ("", CatchRaised(nullFormat).description);

    // No fixed buffer bounds the description.
    std::string a(100000, 'a'), b(200000, 'b');
    auto huge = [&] { NvXmlClass::ThrowIf(true, E_FAIL, "%s|%s|%d", a.c_str(), b.c_str(), 42); };
    EXPECT_EQ(a + "|" + b + "|42", CatchRaised(huge).description);
}

// Texts ending in ": " are followed by the DOM's own description and keep the DOM's code.
void ExpectMessage(const RaisedError& error, const std::string& message)
{
    EXPECT_TRUE(error.fromLayer);
    if (message.back() == ' ') {
        EXPECT_LT(error.hr, 0);
        EXPECT_EQ(message, error.description.substr(0, message.size()));
    } else {
        EXPECT_EQ(E_FAIL, error.hr);
        EXPECT_EQ(message, error.description);
    }
}

// Without COM on the thread the parser cannot be created.
DWORD WINAPI LoadWithoutCom(void* error)
{
    *static_cast<RaisedError*>(error) = CatchRaised([] { DocumentFromText("<r/>"); });
    return 0;
}

struct MessageRow {
    const char* name;
    std::function<void()> action;
    const char* message;
};

TEST(LayerMessages, EveryCheckRaisesItsText)
{
    const char* const kEmptyDocument = "XML Document is empty!";
    const char* const kInvalidFormat = "Invalid format string!";
    const char* const kNotInitialized = "XML Element not initialized!";
    const char* const kInvalidAttribute = "Invalid attribute string!";
    const char* const kNoCurrent = "Current node doesn't exist!";

    CNvXmlDocument loaded = DocumentFromText("<r><e a=\"1\">t</e></r>");
    CNvXmlNode element = loaded.SelectSingleNode("e");
    CNvXmlNode text = loaded.SelectSingleNode("e/text()");
    CNvXmlNode empty;
    CNvXmlDocument none;
    char buffer[8];
    const char* emptyFormat = "";

    const MessageRow rows[] = {
        {"select on empty document", [&] { none.SelectSingleNode("."); }, kEmptyDocument},
        {"element in empty document", [&] { none.CreateElement("e", "v"); }, kEmptyDocument},
        {"null format", [&] { loaded.SelectSingleNode(nullptr); }, kInvalidFormat},
        {"empty format", [&] { loaded.SelectNodes(emptyFormat); }, kInvalidFormat},
        {"null element name", [&] { loaded.CreateElement(nullptr, "v"); }, kInvalidFormat},
        {"save without name", [&] { loaded.Save(); },
         "Not possible to save XML file, filename is missing!"},
        {"select on empty node", [&] { empty.SelectSingleNode("."); }, kNotInitialized},
        {"text string of empty node", [&] { empty.GetTextString(); }, kNotInitialized},
        {"name of empty node", [&] { empty.GetNodeName(); }, kNotInitialized},
        {"set value on empty node", [&] { empty.SetValue("v"); }, kNotInitialized},
        {"data type on empty node", [&] { empty.PutdataType("i4"); }, kNotInitialized},
        {"append to empty node", [&] { empty.AppendChild(element); }, kNotInitialized},
        {"add child to empty node", [&] { empty.AddChild("c", "v"); }, kNotInitialized},
        {"child number of empty node", [&] { empty.SetChildNumber("c", 1); }, kNotInitialized},
        {"attribute of text node", [&] { text.GetAttribute("a", buffer, 8, ""); }, kNotInitialized},
        {"set attribute on text node", [&] { text.SetAttribute("a", "1"); }, kNotInitialized},
        {"empty attribute name", [&] { element.GetAttributeString("", "", 8); }, kInvalidAttribute},
        {"set null attribute name", [&] { element.SetAttribute(nullptr, "1"); }, kInvalidAttribute},
        {"append empty child", [&] { element.AppendChild(empty); }, "Node to append is NULL!"},
        {"next without selection", [] { CNvXmlNodeList().Next(); }, "Nodelist not initialized!"},
        {"current before first", [&] { loaded.SelectNodes("e").GetCurrent(); }, kNoCurrent},
        {"current after end",
         [&] { auto l = loaded.SelectNodes("e"); l.Next(); l.Next(); l.GetCurrent(); }, kNoCurrent},
        {"DOM refuses a value", [&] { CNvXmlNode(loaded.Document().Get()).SetValue("t"); },
         "CNvXmlNode:SetValue: "},
        {"DOM refuses data type", [&] { element.PutdataType("x.y"); }, "CNvXmlNode:PutdataType: "},
    };
    for (const MessageRow& row : rows) {
        SCOPED_TRACE(row.name);
        ExpectMessage(CatchRaised(row.action), row.message);
    }
    RaisedError noParser;
    HANDLE thread = CreateThread(nullptr, 0, LoadWithoutCom, &noParser, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    ExpectMessage(noParser, "Could not create XML Parser");
}

} // namespace
