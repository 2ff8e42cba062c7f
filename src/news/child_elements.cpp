#include "news/child_elements.h"

#include "support/variant_value.h"

#include <cwchar>
#include <memory>

namespace nv {

namespace {

void Check(HRESULT hr, IXMLDOMNode* node) { nv::CheckCall(hr, node, nv::IID_IXMLDOMNode); }

} // namespace

void ForEachChildElement(const CNvXmlNode& parent,
                         const std::function<void(IXMLDOMNode* child, BSTR name)>& visit)
{
    nv::ComPtr<IXMLDOMNode> child;
    Check(parent.Node()->get_firstChild(child.Receive()), parent.Node().Get());
    while (child) {
        DOMNodeType type = NODE_INVALID;
        Check(child->get_nodeType(&type), child.Get());
        if (type == NODE_ELEMENT) {
            BSTR name = nullptr;
            Check(child->get_nodeName(&name), child.Get());
            // Freed without a shared text: one is made per child of every item.
            std::unique_ptr<OLECHAR, decltype(&SysFreeString)> owner(name, &SysFreeString);
            if (name)
                visit(child.Get(), name);
        }
        nv::ComPtr<IXMLDOMNode> next;
        Check(child->get_nextSibling(next.Receive()), child.Get());
        child = std::move(next);
    }
}

bool HasValueOne(IXMLDOMNode* element)
{
    // The common form is one text child; the DOM's text of it would come
    // trimmed, so its raw value is compared.
    nv::ComPtr<IXMLDOMNode> text;
    Check(element->get_firstChild(text.Receive()), element);
    if (!text)
        return false;
    nv::ComPtr<IXMLDOMNode> next;
    Check(text->get_nextSibling(next.Receive()), text.Get());
    DOMNodeType type = NODE_INVALID;
    Check(text->get_nodeType(&type), text.Get());
    if (!next && (type == NODE_TEXT || type == NODE_CDATA_SECTION)) {
        nv::VariantValue value;
        Check(text->get_nodeValue(value.Receive()), text.Get());
        return value.Get().vt == VT_BSTR && value.Get().bstrVal &&
               std::wcscmp(value.Get().bstrVal, L"1") == 0 &&
               SysStringLen(value.Get().bstrVal) == 1;
    }
    return !CNvXmlNode(element).SelectSingleNode("self::node()[.='1']").IsEmpty();
}

} // namespace nv
