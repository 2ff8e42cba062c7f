// Creating, loading and saving documents.
#include "harness/temp_folder.h"
#include "xml_test_support.h"

#include <regex>
#include <vector>

namespace {

TEST(DocumentCreate, NoValidationNoExternalsAndPlainKeepsWhiteSpace)
{
    nv::ComPtr<IXMLDOMDocument> document = CNvXmlDocument::Create();
    VARIANT_BOOL validate = VARIANT_TRUE, externals = VARIANT_TRUE, loaded = VARIANT_FALSE;
    document->get_validateOnParse(&validate);
    document->get_resolveExternals(&externals);
    EXPECT_EQ(VARIANT_FALSE, validate);
    EXPECT_EQ(VARIANT_FALSE, externals);

    nv::ComPtr<IXMLDOMDocument> plain = CNvXmlDocument::CreatePlain();
    nv::BstrText text("<Updates><Name>  </Name></Updates>");
    ASSERT_EQ(S_OK, plain->loadXML(text.Get(), &loaded));
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

// The parse error description is the module's own layout around the parser's texts.
TEST(DocumentLoad, MissingOrMalformedInputRaisesParseError)
{
    static const std::regex layout(
        "XML ParseError:\r\nDescription: [^]*\r\nSource: [^]*\r\nLine: -?[0-9]+\r\nPos: -?[0-9]+");
    TempFolder folder;
    CNvXmlDocument document;
    std::string missing = folder.File("missing.xml");
    std::vector<RaisedError> errors = {CatchRaised([&] { document.Load(missing); })};
    for (std::string text : {std::string("<rss><channel></rss>"), std::string("not xml at all"),
                             "<rss><c>" + std::string(100000, 't') + "</rss>"})
        errors.push_back(CatchRaised([&] { document.LoadXml(text); }));
    for (const RaisedError& error : errors) {
        EXPECT_TRUE(error.fromLayer) << error.description;
        EXPECT_LT(error.hr, 0) << error.description;
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
    CNvXmlDocument never;
    never.LoadXml("");
    EXPECT_TRUE(never.IsEmpty());
}

} // namespace
