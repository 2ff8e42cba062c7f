// Creating, loading and saving documents.
#include "harness/temp_folder.h"
#include "support/variant_value.h"
#include "xml_test_support.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

const char kFeed[] = "<rss version=\"2.0\"><channel><title>Neuigkeiten</title></channel></rss>";

bool FlagOf(HRESULT (STDMETHODCALLTYPE IXMLDOMDocument::*getter)(VARIANT_BOOL*),
            const nv::ComPtr<IXMLDOMDocument>& document)
{
    VARIANT_BOOL value = VARIANT_FALSE;
    EXPECT_EQ(S_OK, (document.Get()->*getter)(&value));
    return value != VARIANT_FALSE;
}

std::string SelectionLanguageOf(const nv::ComPtr<IXMLDOMDocument>& document)
{
    nv::ComPtr<IXMLDOMDocument2> document2(document, nv::IID_IXMLDOMDocument2);
    nv::BstrText name("SelectionLanguage");
    nv::VariantValue value;
    EXPECT_EQ(S_OK, document2->getProperty(name.Get(), value.Receive()));
    return V_VT(&value.Get()) == VT_BSTR ? nv::BstrToAnsi(V_BSTR(&value.Get())) : std::string();
}

// The parse error description is the module's own layout around the parser's texts.
void ExpectParseError(const RaisedError& error)
{
    EXPECT_TRUE(error.raised);
    EXPECT_TRUE(error.fromLayer);
    EXPECT_LT(error.hr, 0);
    static const std::regex layout(
        "XML ParseError:\r\nDescription: [^]*\r\nSource: [^]*\r\nLine: -?[0-9]+\r\nPos: -?[0-9]+");
    EXPECT_TRUE(std::regex_match(error.description, layout)) << error.description;
}

TEST(DocumentCreate, ConfiguresSynchronousNonValidatingXPathDocument)
{
    nv::ComPtr<IXMLDOMDocument> document = CNvXmlDocument::Create();
    ASSERT_TRUE(document);
    EXPECT_FALSE(FlagOf(&IXMLDOMDocument::get_async, document));
    EXPECT_FALSE(FlagOf(&IXMLDOMDocument::get_validateOnParse, document));
    EXPECT_FALSE(FlagOf(&IXMLDOMDocument::get_resolveExternals, document));
    EXPECT_EQ("XPath", SelectionLanguageOf(document));
}

TEST(DocumentCreate, PlainDocumentKeepsWhiteSpaceText)
{
    nv::ComPtr<IXMLDOMDocument> document = CNvXmlDocument::CreatePlain();
    ASSERT_TRUE(document);
    EXPECT_FALSE(FlagOf(&IXMLDOMDocument::get_async, document));
    EXPECT_TRUE(FlagOf(&IXMLDOMDocument::get_preserveWhiteSpace, document));

    CNvXmlDocument plain(document);
    nv::BstrText text("<Updates><Name>  </Name></Updates>");
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ASSERT_EQ(S_OK, document->loadXML(text.Get(), &loaded));
    EXPECT_EQ("  ", plain.SelectSingleNode("Name").GetTextString());
}

TEST(DocumentLoad, TextGivesQueryableDocument)
{
    CNvXmlDocument document = DocumentFromText(kFeed);
    EXPECT_FALSE(document.IsEmpty());
    EXPECT_EQ("Neuigkeiten", document.SelectSingleNode("channel/title").GetTextString());
}

TEST(DocumentLoad, FileGivesQueryableDocumentInSystemCodePage)
{
    TempFolder folder;
    std::string path = folder.Write("feed.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                                "<rss><channel><title>F\xFCr Sie</title></channel></rss>");
    CNvXmlDocument document;
    document.Load(path);
    EXPECT_EQ("F\xFCr Sie", document.SelectSingleNode("channel/title").GetTextString());
}

TEST(DocumentLoad, MissingFileRaisesParseError)
{
    TempFolder folder;
    CNvXmlDocument document;
    ExpectParseError(CatchRaised([&] { document.Load(folder.File("missing.xml")); }));
}

TEST(DocumentLoad, MalformedTextRaisesParseError)
{
    CNvXmlDocument document;
    ExpectParseError(CatchRaised([&] { document.LoadXml("<rss><channel></rss>"); }));
    ExpectParseError(CatchRaised([&] { document.LoadXml("not xml at all"); }));
}

TEST(DocumentLoad, EmptyTextKeepsPreviousDocument)
{
    CNvXmlDocument document = DocumentFromText(kFeed);
    IXMLDOMDocument* before = document.Document().Get();
    EXPECT_FALSE(CatchRaised([&] { document.LoadXml(""); }).raised);
    EXPECT_EQ(before, document.Document().Get());
    EXPECT_EQ("rss", document.SelectSingleNode(".").GetNodeName());

    CNvXmlDocument never;
    never.LoadXml("");
    EXPECT_TRUE(never.IsEmpty());
}

TEST(DocumentLoad, EachLoadStartsFromANewDocument)
{
    CNvXmlDocument document = DocumentFromText(kFeed);
    CNvXmlNode oldTitle = document.SelectSingleNode("channel/title");
    document.LoadXml("<rss><channel><title>Andere</title></channel></rss>");
    EXPECT_EQ("Neuigkeiten", oldTitle.GetTextString());
    EXPECT_EQ("Andere", document.SelectSingleNode("channel/title").GetTextString());
}

TEST(DocumentSave, WritesToGivenFileAndToTheLoadedFile)
{
    TempFolder folder;
    CNvXmlDocument document = DocumentFromText(kFeed);
    std::string copy = folder.File("copy.xml");
    document.Save(copy);

    CNvXmlDocument reloaded;
    reloaded.Load(copy);
    EXPECT_EQ("Neuigkeiten", reloaded.SelectSingleNode("channel/title").GetTextString());

    reloaded.SelectSingleNode("channel/title").SetValue("Ge\xE4ndert");
    reloaded.Save();
    CNvXmlDocument again;
    again.Load(copy);
    EXPECT_EQ("Ge\xE4ndert", again.SelectSingleNode("channel/title").GetTextString());
}

TEST(DocumentSave, FailsWithoutFileNameOrFolder)
{
    CNvXmlDocument document = DocumentFromText(kFeed);
    RaisedError noName = CatchRaised([&] { document.Save(); });
    EXPECT_TRUE(noName.fromLayer);
    EXPECT_EQ(E_FAIL, noName.hr);
    EXPECT_EQ("Not possible to save XML file, filename is missing!", noName.description);

    TempFolder folder;
    RaisedError noFolder = CatchRaised([&] { document.Save(folder.File("no\\such\\feed.xml")); });
    EXPECT_TRUE(noFolder.raised);
    EXPECT_LT(noFolder.hr, 0);
}

TEST(DocumentXml, SerialisesTheDocument)
{
    CNvXmlDocument document = DocumentFromText(kFeed);
    std::string xml = document.GetXml().AnsiString();
    EXPECT_NE(std::string::npos, xml.find("<title>Neuigkeiten</title>")) << xml;
    EXPECT_EQ(E_POINTER, CatchRaised([] { CNvXmlDocument().GetXml(); }).hr);
}

} // namespace
