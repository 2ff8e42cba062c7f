// Creating, loading and saving documents.
#include "harness/temp_folder.h"
#include "xml_test_support.h"

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

TEST(DocumentLoad, FileInSystemCodePageAndSaveToTheLoadedFile)
{
    TempFolder folder;
    CNvXmlDocument document;
    document.Load(folder.Write("feed.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                           "<rss><title>F\xFCr Sie</title></rss>"));
    EXPECT_EQ("F\xFCr Sie", document.SelectSingleNode("title").GetTextString());
    std::string path = folder.Write("state.xml", "<rss><title>Sie</title></rss>");
    document.Load(path);
    document.SelectSingleNode("title").SetValue("Ge\xE4ndert");
    document.Save();
    CNvXmlDocument again;
    again.Load(path);
    EXPECT_EQ("Ge\xE4ndert", again.SelectSingleNode("title").GetTextString());
    EXPECT_LT(CatchRaised([&] { again.Save(folder.File("no\\such\\feed.xml")); }).hr, 0);
}

// The parser's code and texts in the module's layout; Wine's parser gives only a terse reason.
TEST(DocumentLoad, MissingOrMalformedInputRaisesParseError)
{
    TempFolder folder;
    CNvXmlDocument document;
    const std::string missing = folder.File("missing.xml");
    for (const RaisedError& error : {CatchRaised([&] { document.Load(missing); }), CatchRaised([&] {
                                         document.LoadXml("<rss><channel></rss>");
                                     })}) {
        EXPECT_TRUE(error.fromLayer);
        EXPECT_TRUE(error.parse);
        EXPECT_EQ(E_FAIL, error.hr) << std::hex << error.hr;
        EXPECT_EQ("XML ParseError:\r\nDescription: error\r\nSource: \r\nLine: 0\r\nPos: 0",
                  error.description);
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
