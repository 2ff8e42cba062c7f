#include "xml_tree.h"

#include "xml_outline.h"

#include <msxml2.h>
#include <oleauto.h>

#include <gtest/gtest.h>

namespace {

// IXMLDOMDocument; the test program links no import library that carries it.
const IID kIidXmlDocument = {0x2933BF81, 0x7B36, 0x11D2,
                             {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

XmlElement ReadElement(IXMLDOMNode* node)
{
    XmlElement element;
    BSTR name = nullptr;
    node->get_nodeName(&name);
    element.name = TakeBstrText(name);

    IXMLDOMNamedNodeMap* attributes = nullptr;
    if (SUCCEEDED(node->get_attributes(&attributes)) && attributes) {
        long count = 0;
        attributes->get_length(&count);
        element.attributeCount = static_cast<size_t>(count);
        attributes->Release();
    }
    IXMLDOMNodeList* children = nullptr;
    if (FAILED(node->get_childNodes(&children)) || !children)
        return element;
    long count = 0;
    children->get_length(&count);
    for (long i = 0; i < count; ++i) {
        IXMLDOMNode* child = nullptr;
        if (FAILED(children->get_item(i, &child)) || !child)
            continue;
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_ELEMENT) {
            element.children.push_back(ReadElement(child));
        } else if (type == NODE_TEXT) {
            BSTR text = nullptr;
            child->get_text(&text);
            if (text)
                element.text += TakeBstrText(text);
        } else {
            ++element.otherNodeCount;
        }
        child->Release();
    }
    children->Release();
    return element;
}

} // namespace

XmlElement ReadXmlTree(BSTR xml)
{
    CLSID clsid{};
    IXMLDOMDocument* document = nullptr;
    if (FAILED(CLSIDFromProgID(L"Msxml2.DOMDocument.3.0", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDocument,
                                reinterpret_cast<void**>(&document)))) {
        ADD_FAILURE() << "no XML parser";
        return XmlElement();
    }
    // Whitespace between elements is the serialiser's layout, not content
    // (Wine's msxml3 indents the xml property).
    document->put_preserveWhiteSpace(VARIANT_FALSE);
    VARIANT_BOOL parsed = VARIANT_FALSE;
    XmlElement root;
    IXMLDOMElement* element = nullptr;
    if (SUCCEEDED(document->loadXML(xml, &parsed)) && parsed &&
        SUCCEEDED(document->get_documentElement(&element)) && element) {
        root = ReadElement(element);
        element->Release();
    } else {
        ADD_FAILURE() << "not well-formed: " << TakeBstrText(SysAllocString(xml));
    }
    document->Release();
    return root;
}
