#include "xml/nv_xml_document.h"

#include "support/shared_file.h"
#include "support/text.h"
#include "support/variant_value.h"

#include <ole2.h>

using NvXmlClass::ThrowIf;

namespace {

// A running DOMDocument30 seen as IXMLDOMDocument, or null.
nv::ComPtr<IXMLDOMDocument> CreateRunning()
{
    nv::ComPtr<IUnknown> unknown;
    if (FAILED(CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_ALL, IID_IUnknown,
                                reinterpret_cast<void**>(unknown.Receive()))) ||
        !unknown || FAILED(OleRun(unknown.Get())))
        return nv::ComPtr<IXMLDOMDocument>();
    nv::ComPtr<IXMLDOMDocument> document;
    if (FAILED(unknown->QueryInterface(nv::IID_IXMLDOMDocument,
                                       reinterpret_cast<void**>(document.Receive()))))
        return nv::ComPtr<IXMLDOMDocument>();
    return document;
}

void CheckDocumentCall(HRESULT hr, const nv::ComPtr<IXMLDOMDocument>& document)
{
    nv::CheckCall(hr, document.Get(), nv::IID_IXMLDOMDocument);
}

void CheckParseError(const nv::ComPtr<IXMLDOMDocument>& document)
{
    nv::ComPtr<IXMLDOMParseError> error;
    CheckDocumentCall(document->get_parseError(error.Receive()), document);
    BSTR srcText = nullptr;
    nv::CheckCall(error->get_srcText(&srcText), error.Get(), nv::IID_IXMLDOMParseError);
    nv::BstrText source = nv::BstrText::Attach(srcText);
    BSTR reasonText = nullptr;
    nv::CheckCall(error->get_reason(&reasonText), error.Get(), nv::IID_IXMLDOMParseError);
    nv::BstrText reason = nv::BstrText::Attach(reasonText);
    long linepos = 0;
    nv::CheckCall(error->get_linepos(&linepos), error.Get(), nv::IID_IXMLDOMParseError);
    long line = 0;
    nv::CheckCall(error->get_line(&line), error.Get(), nv::IID_IXMLDOMParseError);
    long errorCode = 0;
    nv::CheckCall(error->get_errorCode(&errorCode), error.Get(), nv::IID_IXMLDOMParseError);
    if (errorCode < 0)
        NvXmlClass::ThrowParseError(
            errorCode,
            nv::FormatText(
                "XML ParseError:\r\nDescription: %s\r\nSource: %s\r\nLine: %d\r\nPos: %d",
                reason.AnsiString().c_str(), source.AnsiString().c_str(), static_cast<int>(line),
                static_cast<int>(linepos)));
}

// Files come from outside (a server, another user's folder): an entity that
// expands to gigabytes must not exhaust the caller. MSXML 3 knows the
// property from its later service packs; where it does not, the load goes on
// as before (Wine's msxml3 accepts the property and ignores it).
void ProhibitDocumentTypes(const nv::ComPtr<IXMLDOMDocument>& document)
{
    nv::ComPtr<IXMLDOMDocument2> document2(document, nv::IID_IXMLDOMDocument2);
    if (!document2)
        return;
    nv::BstrText name("ProhibitDTD");
    VARIANT prohibit;
    VariantInit(&prohibit);
    prohibit.vt = VT_BOOL;
    V_BOOL(&prohibit) = VARIANT_TRUE;
    document2->setProperty(name.Get(), prohibit);
}

} // namespace

nv::ComPtr<IXMLDOMDocument> CNvXmlDocument::Create()
{
    nv::ComPtr<IXMLDOMDocument> document = CreateRunning();
    if (!document)
        return document;
    CheckDocumentCall(document->put_async(VARIANT_FALSE), document);
    CheckDocumentCall(document->put_validateOnParse(VARIANT_FALSE), document);
    CheckDocumentCall(document->put_resolveExternals(VARIANT_FALSE), document);
    nv::ComPtr<IXMLDOMDocument2> document2(document, nv::IID_IXMLDOMDocument2);
    if (document2) {
        nv::BstrText name("SelectionLanguage");
        nv::VariantValue language(std::string("XPath"));
        nv::CheckCall(document2->setProperty(name.Get(), language.Get()), document2.Get(),
                      nv::IID_IXMLDOMDocument2);
    }
    return document;
}

nv::ComPtr<IXMLDOMDocument> CNvXmlDocument::CreatePlain()
{
    nv::ComPtr<IXMLDOMDocument> document = CreateRunning();
    if (document) {
        // The update lists have always been built without checking these.
        document->put_async(VARIANT_FALSE);
        document->put_validateOnParse(VARIANT_FALSE);
        document->put_resolveExternals(VARIANT_FALSE);
        document->put_preserveWhiteSpace(VARIANT_TRUE);
    }
    return document;
}

void CNvXmlDocument::Replace()
{
    m_document = Create();
    ThrowIf(!m_document, E_FAIL, "Could not create XML Parser");
}

void CNvXmlDocument::Load(const std::string& fileName)
{
    m_fileName = fileName;
    // Read through our own handle, which shares delete: the parser's would
    // refuse a writer that replaces the file while we read it. What we cannot
    // open (or a URL) the parser loads itself, with its own error texts.
    std::string content;
    LoadSource(nv::ReadSharedFile(fileName, content) ? nv::VariantValue::Bytes(content)
                                                     : nv::VariantValue(fileName));
}

void CNvXmlDocument::LoadContent(const std::string& content)
{
    LoadSource(nv::VariantValue::Bytes(content));
}

void CNvXmlDocument::LoadSource(const nv::VariantValue& source)
{
    Replace();
    ProhibitDocumentTypes(m_document);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    CheckDocumentCall(m_document->load(source.Get(), &loaded), m_document);
    CheckParseError(m_document);
}

void CNvXmlDocument::LoadXml(const std::string& text)
{
    if (text.empty())
        return;
    Replace();
    nv::BstrText xml(text);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    CheckDocumentCall(m_document->loadXML(xml.Get(), &loaded), m_document);
    CheckParseError(m_document);
}

void CNvXmlDocument::Save(const std::string& fileName)
{
    const std::string& target = fileName.empty() ? m_fileName : fileName;
    ThrowIf(target.empty(), E_FAIL, "Not possible to save XML file, filename is missing!");
    nv::VariantValue destination(target);
    CheckDocumentCall(m_document->save(destination.Get()), m_document);
}

void CNvXmlDocument::RequireQuery(const char* format) const
{
    ThrowIf(!m_document, E_FAIL, "XML Document is empty!");
    ThrowIf(!format || !*format, E_FAIL, "Invalid format string!");
}

CNvXmlNode CNvXmlDocument::DocumentElement() const
{
    nv::ComPtr<IXMLDOMElement> root;
    CheckDocumentCall(m_document->get_documentElement(root.Receive()), m_document);
    if (!root)
        throw nv::ComError(E_POINTER);
    return CNvXmlNode(root.Get());
}

CNvXmlNode CNvXmlDocument::SelectSingleNode(const char* format, ...) const
{
    RequireQuery(format);
    va_list args;
    va_start(args, format);
    std::string xpath = nv::FormatTextV(format, args);
    va_end(args);
    return DocumentElement().SelectSingleNodePath(xpath);
}

CNvXmlNodeList CNvXmlDocument::SelectNodes(const char* format, ...) const
{
    RequireQuery(format);
    va_list args;
    va_start(args, format);
    std::string xpath = nv::FormatTextV(format, args);
    va_end(args);
    return DocumentElement().SelectNodesPath(xpath);
}

CNvXmlNode CNvXmlDocument::CreateElement(const char* name, const char* value)
{
    RequireQuery(name);
    nv::BstrText tagName(name);
    nv::ComPtr<IXMLDOMElement> element;
    CheckDocumentCall(m_document->createElement(tagName.Get(), element.Receive()), m_document);
    CNvXmlNode node(element.Get());
    ThrowIf(node.IsEmpty(), E_FAIL, "CreateElement failed!");
    node.SetValue(value);
    return node;
}

nv::BstrText CNvXmlDocument::GetXml() const
{
    BSTR xml = nullptr;
    CheckDocumentCall(m_document->get_xml(&xml), m_document);
    return nv::BstrText::Attach(xml);
}
