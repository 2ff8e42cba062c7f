// The layer's error model: ThrowIf and every message the layer raises.
#include "xml_test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(ThrowIf, FalseConditionRaisesNothing)
{
    EXPECT_FALSE(CatchRaised([] { NvXmlClass::ThrowIf(false, E_FAIL, "never %s", "raised"); }).raised);
}

TEST(ThrowIf, RaisesLayerExceptionWithFormattedDescription)
{
    RaisedError error = CatchRaised(
        [] { NvXmlClass::ThrowIf(true, E_INVALIDARG, "Item %s: %d of %ld", "g\xFC", -3, 70000L); });
    EXPECT_TRUE(error.fromLayer);
    EXPECT_EQ(E_INVALIDARG, error.hr);
    EXPECT_EQ("Item g\xFC: -3 of 70000", error.description);

    // Callers catch it as the COM error it derives from.
    try {
        NvXmlClass::ThrowIf(true, 0x800C0005, "%s", "fehlt");
        FAIL() << "nothing raised";
    } catch (const nv::ComError& error) {
        EXPECT_EQ(static_cast<HRESULT>(0x800C0005), error.Error());
        EXPECT_EQ("fehlt", error.Description());
        EXPECT_NE(nullptr, error.ErrorInfo());
    }
}

TEST(ThrowIf, EmptyOrNullFormatGivesEmptyDescription)
{
    EXPECT_EQ("", CatchRaised([] { NvXmlClass::ThrowIfV(true, E_FAIL, nullptr, nullptr); }).description);
    RaisedError empty = CatchRaised([] { NvXmlClass::ThrowIf(true, E_FAIL, "%s", ""); });
    EXPECT_TRUE(empty.fromLayer);
    EXPECT_EQ("", empty.description);
}

struct MessageRow {
    const char* name;
    std::function<void()> action;
    const char* message;
};

TEST(LayerMessages, EveryCheckRaisesItsTextWithEFail)
{
    const char* const kEmptyDocument = "XML Document is empty!";
    const char* const kInvalidFormat = "Invalid format string!";
    const char* const kNotInitialized = "XML Element not initialized!";
    const char* const kInvalidAttribute = "Invalid attribute string!";
    const char* const kNoList = "Nodelist not initialized!";

    CNvXmlDocument loaded = DocumentFromText("<r><e a=\"1\">t</e></r>");
    CNvXmlNode element = loaded.SelectSingleNode("e");
    CNvXmlNode text = loaded.SelectSingleNode("e/text()");
    CNvXmlNode empty;
    CNvXmlDocument none;
    char buffer[8];
    const char* emptyFormat = "";

    const MessageRow rows[] = {
        {"select on empty document", [&] { none.SelectSingleNode("."); }, kEmptyDocument},
        {"select nodes on empty document", [&] { none.SelectNodes("e"); }, kEmptyDocument},
        {"create element in empty document", [&] { none.CreateElement("e", "v"); }, kEmptyDocument},
        {"empty document wins over bad format", [&] { none.SelectSingleNode(nullptr); }, kEmptyDocument},
        {"null format", [&] { loaded.SelectSingleNode(nullptr); }, kInvalidFormat},
        {"empty format", [&] { loaded.SelectNodes(emptyFormat); }, kInvalidFormat},
        {"null element name", [&] { loaded.CreateElement(nullptr, "v"); }, kInvalidFormat},
        {"empty element name", [&] { loaded.CreateElement("", "v"); }, kInvalidFormat},
        {"save without name", [&] { loaded.Save(); }, "Not possible to save XML file, filename is missing!"},
        {"select on empty node", [&] { empty.SelectSingleNode("."); }, kNotInitialized},
        {"select nodes on empty node", [&] { empty.SelectNodes("*"); }, kNotInitialized},
        {"text string of empty node", [&] { empty.GetTextString(); }, kNotInitialized},
        {"name of empty node", [&] { empty.GetNodeName(); }, kNotInitialized},
        {"set value on empty node", [&] { empty.SetValue("v"); }, kNotInitialized},
        {"data type on empty node", [&] { empty.PutdataType("i4"); }, kNotInitialized},
        {"append to empty node", [&] { empty.AppendChild(element); }, kNotInitialized},
        {"add text child to empty node", [&] { empty.AddChild("c", "v"); }, kNotInitialized},
        {"add number child to empty node", [&] { empty.AddChild("c", 1L); }, kNotInitialized},
        {"child number on empty node", [&] { empty.SetChildNumber("c", 1); }, kNotInitialized},
        {"attribute of empty node", [&] { empty.GetAttribute("a", buffer, 8, ""); }, kNotInitialized},
        {"attribute of text node", [&] { text.GetAttribute("a", buffer, 8, ""); }, kNotInitialized},
        {"set attribute on text node", [&] { text.SetAttribute("a", "1"); }, kNotInitialized},
        {"no element wins over bad name", [&] { empty.SetAttribute(nullptr, "1"); }, kNotInitialized},
        {"null attribute name", [&] { element.GetAttribute(nullptr, buffer, 8, ""); }, kInvalidAttribute},
        {"empty attribute name", [&] { element.GetAttributeString("", "", 8); }, kInvalidAttribute},
        {"set null attribute name", [&] { element.SetAttribute(nullptr, "1"); }, kInvalidAttribute},
        {"set empty attribute name", [&] { element.SetAttribute("", "1"); }, kInvalidAttribute},
        {"append empty child", [&] { element.AppendChild(empty); }, "Node to append is NULL!"},
        {"empty child checked before empty node", [&] { empty.AppendChild(empty); },
         "Node to append is NULL!"},
        {"remove empty child", [&] { element.RemoveChild(empty); }, "Node to remove is NULL!"},
        {"next without selection", [] { CNvXmlNodeList().Next(); }, kNoList},
        {"current without selection", [] { CNvXmlNodeList().GetCurrent(); }, kNoList},
    };
    for (const MessageRow& row : rows) {
        SCOPED_TRACE(row.name);
        RaisedError error = CatchRaised(row.action);
        EXPECT_TRUE(error.fromLayer);
        EXPECT_EQ(E_FAIL, error.hr);
        EXPECT_EQ(row.message, error.description);
    }
}

// Without COM on the thread the parser cannot be created.
DWORD WINAPI LoadWithoutCom(void* parameter)
{
    *static_cast<RaisedError*>(parameter) =
        CatchRaised([] { DocumentFromText("<r/>"); });
    return 0;
}

TEST(LayerMessages, ParserThatCannotBeCreated)
{
    RaisedError error;
    HANDLE thread = CreateThread(nullptr, 0, LoadWithoutCom, &error, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(error.fromLayer);
    EXPECT_EQ(E_FAIL, error.hr);
    EXPECT_EQ("Could not create XML Parser", error.description);
}

} // namespace
