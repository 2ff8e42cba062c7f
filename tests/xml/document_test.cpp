// Creating and loading documents; loading and saving files the news exports show.
#include "harness/temp_folder.h"
#include "xml_test_support.h"

#include <regex>

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
