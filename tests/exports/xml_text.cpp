#include "xml_text.h"

#include "support/bstr_text.h"
#include "support/msxml_ids.h"

#include <objbase.h>

std::string NormalXml(const std::string& xml, bool keepWhiteSpace)
{
    CoInitialize(nullptr);
    IXMLDOMDocument* document = nullptr;
    if (FAILED(CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_INPROC_SERVER,
                                nv::IID_IXMLDOMDocument, reinterpret_cast<void**>(&document))))
        return "(no parser)";
    document->put_preserveWhiteSpace(keepWhiteSpace ? VARIANT_TRUE : VARIANT_FALSE);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    IXMLDOMElement* root = nullptr;
    BSTR text = nullptr;
    if (SUCCEEDED(document->loadXML(nv::BstrText(xml).Get(), &loaded)) && loaded &&
        SUCCEEDED(document->get_documentElement(&root)) && root) {
        root->get_xml(&text);
        root->Release();
    }
    document->Release();
    return text ? nv::BstrText::Attach(text).AnsiString() : "(unparsable)";
}

std::string XmlElements(const char* const* names, std::initializer_list<std::string> values)
{
    std::string xml;
    for (const std::string& value : values) {
        std::string escaped;
        for (char c : value)
            escaped += c == '&' ? "&amp;" : c == '<' ? "&lt;" : std::string(1, c);
        const std::string name = *names++;
        xml += "<" + name + ">" + escaped + "</" + name + ">";
    }
    return xml;
}

std::string TakeDocumentXml(IDispatch* dispatch, bool* declaration)
{
    IXMLDOMNode* document = nullptr;
    if (!dispatch)
        return "(null)";
    dispatch->QueryInterface(nv::IID_IXMLDOMNode, reinterpret_cast<void**>(&document));
    dispatch->Release();
    BSTR xml = nullptr;
    if (document) {
        document->get_xml(&xml);
        document->Release();
    }
    if (!xml)
        return "(no document)";
    const std::string text = nv::BstrText::Attach(xml).AnsiString();
    if (declaration)
        *declaration = text.rfind("<?xml ", 0) == 0;
    return NormalXml(text);
}

std::string TakeBstrText(BSTR text)
{
    return text ? nv::BstrText::Attach(text).AnsiString() : "(null)";
}
