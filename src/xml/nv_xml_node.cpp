#include "xml/nv_xml_node.h"

#include "support/text.h"
#include "support/variant_value.h"
#include "xml/nv_xml_error.h"

#include <algorithm>
#include <cstring>
#include <vector>

using NvXmlClass::ThrowIf;

namespace {

const char kNotInitialized[] = "XML Element not initialized!";

void CheckNodeCall(HRESULT hr, const nv::ComPtr<IXMLDOMNode>& node)
{
    nv::CheckCall(hr, node.Get(), nv::IID_IXMLDOMNode);
}

// Runs one DOM call and raises its failure again under `format` ("...: %s"),
// so the caller sees which wrapper operation failed.
template <class Call> void RunWithContext(const char* format, Call call)
{
    try {
        call();
    } catch (const nv::ComError& error) {
        ThrowIf(true, error.Error(), format, error.Description().c_str());
    }
}

} // namespace

CNvXmlNode::CNvXmlNode(IXMLDOMNode* node) : m_node(node)
{
    m_element.QueryFrom(node, nv::IID_IXMLDOMElement);
}

CNvXmlNode::CNvXmlNode(IXMLDOMElement* element) : m_element(element)
{
    m_node.QueryFrom(element, nv::IID_IXMLDOMNode);
}

void CNvXmlNode::RequireNode() const { ThrowIf(!m_node, E_FAIL, kNotInitialized); }

void CNvXmlNode::RequireAttributeAccess(const char* name) const
{
    ThrowIf(!m_element, E_FAIL, kNotInitialized);
    ThrowIf(!name || !*name, E_FAIL, "Invalid attribute string!");
}

CNvXmlNode CNvXmlNode::SelectSingleNode(const char* format, ...) const
{
    RequireNode();
    va_list args;
    va_start(args, format);
    std::string xpath = nv::FormatTextV(format, args);
    va_end(args);
    return SelectSingleNodePath(xpath);
}

CNvXmlNodeList CNvXmlNode::SelectNodes(const char* format, ...) const
{
    RequireNode();
    va_list args;
    va_start(args, format);
    std::string xpath = nv::FormatTextV(format, args);
    va_end(args);
    return SelectNodesPath(xpath);
}

CNvXmlNode CNvXmlNode::SelectSingleNodePath(const std::string& xpath) const
{
    RequireNode();
    nv::BstrText query(xpath);
    nv::ComPtr<IXMLDOMNode> found;
    CheckNodeCall(m_node->selectSingleNode(query.Get(), found.Receive()), m_node);
    return CNvXmlNode(found.Get());
}

CNvXmlNodeList CNvXmlNode::SelectNodesPath(const std::string& xpath) const
{
    RequireNode();
    nv::BstrText query(xpath);
    nv::ComPtr<IXMLDOMNodeList> found;
    CheckNodeCall(m_node->selectNodes(query.Get(), found.Receive()), m_node);
    return CNvXmlNodeList(found.Get());
}

nv::BstrText CNvXmlNode::GetText() const
{
    BSTR text = nullptr;
    CheckNodeCall(m_node->get_text(&text), m_node);
    return nv::BstrText::Attach(text);
}

std::string CNvXmlNode::GetTextString() const
{
    RequireNode();
    return GetText().AnsiString();
}

std::string CNvXmlNode::GetNodeName() const
{
    RequireNode();
    BSTR name = nullptr;
    CheckNodeCall(m_node->get_nodeName(&name), m_node);
    return nv::BstrText::Attach(name).AnsiString();
}

char* CNvXmlNode::GetAttribute(const char* name, char* buffer, int size,
                               const char* defaultText) const
{
    RequireAttributeAccess(name);
    nv::BstrText attributeName(name);
    nv::VariantValue value;
    nv::CheckCall(m_element->getAttribute(attributeName.Get(), value.Receive()), m_element.Get(),
                  nv::IID_IXMLDOMElement);
    // A missing attribute is VT_NULL; an empty one is an empty VT_BSTR.
    std::string text = V_VT(&value.Get()) == VT_BSTR ? nv::BstrToAnsi(V_BSTR(&value.Get()))
                                                     : nv::FromNullable(defaultText);
    if (buffer && size > 0) {
        size_t count = std::min(text.size(), static_cast<size_t>(size) - 1);
        std::memcpy(buffer, text.data(), count);
        buffer[count] = '\0';
    }
    return buffer;
}

std::string CNvXmlNode::GetAttributeString(const char* name, const char* defaultText,
                                           int size) const
{
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 1, '\0');
    return GetAttribute(name, buffer.data(), size, defaultText);
}

void CNvXmlNode::SetAttribute(const char* name, const char* value)
{
    RequireAttributeAccess(name);
    nv::BstrText attributeName(name);
    nv::VariantValue attributeValue(nv::FromNullable(value));
    nv::CheckCall(m_element->setAttribute(attributeName.Get(), attributeValue.Get()),
                  m_element.Get(), nv::IID_IXMLDOMElement);
}

void CNvXmlNode::SetValue(const char* value)
{
    if (!value)
        return;
    RequireNode();
    RunWithContext("CNvXmlNode:SetValue: %s", [&] {
        nv::BstrText text(value);
        CheckNodeCall(m_node->put_text(text.Get()), m_node);
    });
}

void CNvXmlNode::PutdataType(const char* dataType)
{
    RequireNode();
    RunWithContext("CNvXmlNode:PutdataType: %s", [&] {
        nv::BstrText name(dataType);
        CheckNodeCall(m_node->put_dataType(name.Get()), m_node);
    });
}

CNvXmlNode CNvXmlNode::AppendChild(const CNvXmlNode& child)
{
    ThrowIf(child.IsEmpty(), E_FAIL, "Node to append is NULL!");
    RequireNode();
    nv::ComPtr<IXMLDOMNode> appended;
    CheckNodeCall(m_node->appendChild(child.m_node.Get(), appended.Receive()), m_node);
    return CNvXmlNode(appended.Get());
}

CNvXmlNode CNvXmlNode::AddChild(const char* name, const char* value, const char* dataType)
{
    RequireNode();
    nv::ComPtr<IXMLDOMDocument> owner;
    CheckNodeCall(m_node->get_ownerDocument(owner.Receive()), m_node);
    nv::BstrText tagName(name);
    nv::ComPtr<IXMLDOMElement> element;
    nv::CheckCall(owner->createElement(tagName.Get(), element.Receive()), owner.Get(),
                  nv::IID_IXMLDOMDocument);
    CNvXmlNode child(element.Get());
    if (dataType)
        child.PutdataType(dataType);
    child.SetValue(value);
    return AppendChild(child);
}

nv::ComPtr<IXMLDOMNode> CNvXmlNode::AddElement(IXMLDOMDocument* owner, BSTR tagName,
                                               const char* value)
{
    RequireNode();
    nv::ComPtr<IXMLDOMElement> element;
    nv::CheckCall(owner->createElement(tagName, element.Receive()), owner, nv::IID_IXMLDOMDocument);
    ThrowIf(!element && value, E_FAIL, kNotInitialized);
    ThrowIf(!element, E_FAIL, "Node to append is NULL!");
    nv::ComPtr<IXMLDOMNode> node(element.Get());
    if (value)
        RunWithContext("CNvXmlNode:SetValue: %s", [&] {
            BSTR text = nv::AnsiToBstr(value);
            HRESULT hr = node->put_text(text);
            SysFreeString(text);
            CheckNodeCall(hr, node);
        });
    CheckNodeCall(m_node->appendChild(node.Get(), nullptr), m_node);
    return node;
}

CNvXmlNode CNvXmlNode::AddChild(const char* name, long value, const char* dataType)
{
    return AddChild(name, std::to_string(value).c_str(), dataType);
}

void CNvXmlNode::SetChildNumber(const char* name, long value)
{
    RequireNode();
    // The name is taken as a finished XPath, never as a format.
    CNvXmlNode child = SelectSingleNodePath(nv::FromNullable(name));
    if (child.IsEmpty())
        AddChild(name, value, nullptr);
    else
        child.SetValue(std::to_string(value).c_str());
}

void CNvXmlNodeList::RequireList() const { ThrowIf(!m_list, E_FAIL, "Nodelist not initialized!"); }

bool CNvXmlNodeList::Next()
{
    RequireList();
    nv::ComPtr<IXMLDOMNode> next;
    nv::CheckCall(m_list->nextNode(next.Receive()), m_list.Get(), nv::IID_IXMLDOMNodeList);
    m_current = CNvXmlNode(next.Get());
    return !m_current.IsEmpty();
}

CNvXmlNode& CNvXmlNodeList::GetCurrent()
{
    RequireList();
    ThrowIf(m_current.IsEmpty(), E_FAIL, "Current node doesn't exist!");
    return m_current;
}
