#include "xml_outline.h"

#include "support/bstr_text.h"
#include "support/msxml_ids.h"

#include <objbase.h>

namespace {

std::string
NameOf(IXMLDOMNode* node,
       HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*get)(BSTR*) = &IXMLDOMNode::get_nodeName)
{
    BSTR text = nullptr;
    (node->*get)(&text);
    return nv::BstrText::Attach(text).AnsiString();
}

std::string TextOf(IXMLDOMNode* node) { return XmlEscaped(NameOf(node, &IXMLDOMNode::get_text)); }

std::string XmlOutline(IXMLDOMNode* node)
{
    if (!node)
        return "(null)";
    DOMNodeType type = NODE_INVALID;
    node->get_nodeType(&type);
    if (type == NODE_TEXT || type == NODE_CDATA_SECTION)
        return TextOf(node);
    if (type != NODE_ELEMENT)
        return std::string();
    const std::string tag = NameOf(node);
    std::string outline = "<" + tag;
    IXMLDOMNamedNodeMap* attributes = nullptr;
    long count = 0;
    if (SUCCEEDED(node->get_attributes(&attributes)) && attributes)
        attributes->get_length(&count);
    for (long i = 0; i < count; ++i) {
        IXMLDOMNode* attribute = nullptr;
        if (FAILED(attributes->get_item(i, &attribute)) || !attribute)
            break;
        outline += " " + NameOf(attribute) + "=\"" + TextOf(attribute) + "\"";
        attribute->Release();
    }
    if (attributes)
        attributes->Release();
    outline += ">";
    IXMLDOMNode* child = nullptr;
    node->get_firstChild(&child);
    while (child) {
        outline += XmlOutline(child);
        IXMLDOMNode* next = nullptr;
        child->get_nextSibling(&next);
        child->Release();
        child = next;
    }
    return outline + "</" + tag + ">";
}

std::string RootOutline(IXMLDOMDocument* document)
{
    IXMLDOMElement* root = nullptr;
    document->get_documentElement(&root);
    const std::string outline = XmlOutline(root);
    if (root)
        root->Release();
    document->Release();
    return outline;
}

} // namespace

std::string XmlEscaped(const std::string& text)
{
    std::string escaped;
    for (char c : text)
        escaped += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return escaped;
}

std::string ElementsOutline(const char* const* names, std::initializer_list<std::string> values)
{
    std::string outline;
    for (const std::string& value : values) {
        const std::string name = *names++;
        outline += "<" + name + ">" + XmlEscaped(value) + "</" + name + ">";
    }
    return outline;
}

std::string XmlTextOutline(const std::string& xml, bool keepWhiteSpace)
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
        return RootOutline(document);
    document->Release();
    return "(unparsable)";
}

std::string TakeDocumentOutline(IDispatch* dispatch, bool* declaration)
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
        *declaration = type == NODE_PROCESSING_INSTRUCTION && NameOf(first) == "xml";
        first->Release();
    }
    return RootOutline(document);
}

std::string TakeBstrText(BSTR text)
{
    return text ? nv::BstrText::Attach(text).AnsiString() : "(null)";
}
