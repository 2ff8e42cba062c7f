#include "xml_text.h"

#include "support/bstr_text.h"
#include "support/msxml_ids.h"

#include <objbase.h>

namespace {

std::string RootXml(IXMLDOMDocument* document)
{
    IXMLDOMElement* root = nullptr;
    BSTR xml = nullptr;
    if (SUCCEEDED(document->get_documentElement(&root)) && root) {
        root->get_xml(&xml);
        root->Release();
    }
    document->Release();
    return xml ? nv::BstrText::Attach(xml).AnsiString() : "(no root)";
}

} // namespace

std::string NormalXml(const std::string& xml, bool keepWhiteSpace)
{
    CoInitialize(nullptr);
    IXMLDOMDocument* document = nullptr;
    if (FAILED(CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_INPROC_SERVER,
                                nv::IID_IXMLDOMDocument, reinterpret_cast<void**>(&document))))
        return "(no parser)";
    document->put_preserveWhiteSpace(keepWhiteSpace ? VARIANT_TRUE : VARIANT_FALSE);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    document->loadXML(nv::BstrText(xml).Get(), &loaded);
    if (loaded == VARIANT_TRUE)
        return RootXml(document);
    document->Release();
    return "(unparsable)";
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
    *declaration = false;
    if (!dispatch)
        return "(null)";
    IXMLDOMDocument* document = nullptr;
    dispatch->QueryInterface(nv::IID_IXMLDOMDocument, reinterpret_cast<void**>(&document));
    dispatch->Release();
    if (!document)
        return "(no document)";
    IXMLDOMNode* first = nullptr;
    if (SUCCEEDED(document->get_firstChild(&first)) && first) {
        DOMNodeType type = NODE_INVALID;
        first->get_nodeType(&type);
        BSTR name = nullptr;
        first->get_nodeName(&name);
        *declaration = type == NODE_PROCESSING_INSTRUCTION &&
                       nv::BstrText::Attach(name).AnsiString() == "xml";
        first->Release();
    }
    return NormalXml(RootXml(document));
}

std::string TakeBstrText(BSTR text)
{
    return text ? nv::BstrText::Attach(text).AnsiString() : "(null)";
}
