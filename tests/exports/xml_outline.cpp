#include "xml_outline.h"

#include "support/msxml_ids.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <oleauto.h>

namespace {

std::string Narrow(BSTR text)
{
    if (!text)
        return std::string();
    int length = WideCharToMultiByte(1252, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(length > 0 ? length - 1 : 0, '\0');
    if (length > 1)
        WideCharToMultiByte(1252, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

} // namespace

std::string XmlEscaped(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else
            escaped += c;
    }
    return escaped;
}

namespace {

std::string Attributes(IXMLDOMNode* node)
{
    std::string text;
    IXMLDOMNamedNodeMap* attributes = nullptr;
    if (FAILED(node->get_attributes(&attributes)) || !attributes)
        return text;
    long count = 0;
    attributes->get_length(&count);
    for (long i = 0; i < count; ++i) {
        IXMLDOMNode* attribute = nullptr;
        if (FAILED(attributes->get_item(i, &attribute)) || !attribute)
            continue;
        BSTR name = nullptr;
        BSTR value = nullptr;
        attribute->get_nodeName(&name);
        attribute->get_text(&value);
        text += " " + Narrow(name) + "=\"" + XmlEscaped(Narrow(value)) + "\"";
        SysFreeString(name);
        SysFreeString(value);
        attribute->Release();
    }
    attributes->Release();
    return text;
}

IXMLDOMElement* RootOf(IXMLDOMDocument* document)
{
    IXMLDOMElement* root = nullptr;
    document->get_documentElement(&root);
    return root;
}

bool HasDeclaration(IXMLDOMDocument* document)
{
    IXMLDOMNode* first = nullptr;
    if (FAILED(document->get_firstChild(&first)) || !first)
        return false;
    DOMNodeType type = NODE_INVALID;
    first->get_nodeType(&type);
    BSTR name = nullptr;
    first->get_nodeName(&name);
    bool declaration = type == NODE_PROCESSING_INSTRUCTION && Narrow(name) == "xml";
    SysFreeString(name);
    first->Release();
    return declaration;
}

} // namespace

std::string XmlOutline(IXMLDOMNode* node)
{
    if (!node)
        return "(null)";
    DOMNodeType type = NODE_INVALID;
    node->get_nodeType(&type);
    if (type == NODE_TEXT || type == NODE_CDATA_SECTION) {
        BSTR text = nullptr;
        node->get_text(&text);
        std::string outline = XmlEscaped(Narrow(text));
        SysFreeString(text);
        return outline;
    }
    if (type != NODE_ELEMENT)
        return std::string();
    BSTR name = nullptr;
    node->get_nodeName(&name);
    std::string tag = Narrow(name);
    SysFreeString(name);
    std::string outline = "<" + tag + Attributes(node) + ">";
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

std::string XmlTextOutline(const std::string& xml)
{
    CoInitialize(nullptr);
    IXMLDOMDocument* document = nullptr;
    if (FAILED(CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_INPROC_SERVER,
                                nv::IID_IXMLDOMDocument, reinterpret_cast<void**>(&document))))
        return "(no parser)";
    document->put_preserveWhiteSpace(VARIANT_TRUE);
    int length = MultiByteToWideChar(1252, 0, xml.c_str(), -1, nullptr, 0);
    BSTR text = SysAllocStringLen(nullptr, length - 1);
    MultiByteToWideChar(1252, 0, xml.c_str(), -1, text, length);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    document->loadXML(text, &loaded);
    SysFreeString(text);
    std::string outline = "(unparsable)";
    if (loaded == VARIANT_TRUE) {
        IXMLDOMElement* root = RootOf(document);
        outline = XmlOutline(root);
        if (root)
            root->Release();
    }
    document->Release();
    return outline;
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
    *declaration = HasDeclaration(document);
    IXMLDOMElement* root = RootOf(document);
    std::string outline = XmlOutline(root);
    if (root)
        root->Release();
    document->Release();
    return outline;
}

std::string TakeBstrText(BSTR text)
{
    if (!text)
        return "(null)";
    std::string narrow = Narrow(text);
    SysFreeString(text);
    return narrow;
}
