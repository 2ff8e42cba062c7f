// Node and node-list wrappers over the MSXML DOM. Both are values holding
// references: a change made through a CNvXmlNode changes its document.
#pragma once

#include "support/bstr_text.h"
#include "support/com_ptr.h"
#include "support/msxml_ids.h"

#include <cstdarg>
#include <string>

class CNvXmlNodeList;

class CNvXmlNode {
public:
    CNvXmlNode() = default;
    // The element view is queried from the node; a node that is no element
    // (text, document, attribute) leaves it null.
    CNvXmlNode(IXMLDOMNode* node);
    CNvXmlNode(IXMLDOMElement* element);

    bool IsEmpty() const { return !m_node; }
    const nv::ComPtr<IXMLDOMNode>& Node() const { return m_node; }
    const nv::ComPtr<IXMLDOMElement>& Element() const { return m_element; }

    // XPath from a printf-style format, evaluated with this node as context.
    // No match gives an empty node.
    CNvXmlNode SelectSingleNode(const char* format, ...) const
        __attribute__((format(printf, 2, 3)));
    CNvXmlNodeList SelectNodes(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    // The same with a finished XPath text, which is never read as a format.
    CNvXmlNode SelectSingleNodePath(const std::string& xpath) const;
    CNvXmlNodeList SelectNodesPath(const std::string& xpath) const;

    // Text of the node and its descendants; an empty node raises E_POINTER.
    nv::BstrText GetText() const;
    std::string GetTextString() const;
    std::string GetNodeName() const;

    // Copies the attribute's value, or `defaultText` when it is missing, into
    // `buffer`, cut to size - 1 bytes and always terminated. Returns buffer.
    char* GetAttribute(const char* name, char* buffer, int size, const char* defaultText) const;
    std::string GetAttributeString(const char* name, const char* defaultText, int size) const;
    void SetAttribute(const char* name, const char* value);

    // A null value changes nothing, even on an empty node.
    void SetValue(const char* value);
    void PutdataType(const char* dataType);

    // Appends `child` (moving it when it already has a parent) as the last child.
    CNvXmlNode AppendChild(const CNvXmlNode& child);
    CNvXmlNode AddChild(const char* name, const char* value, const char* dataType = nullptr);
    CNvXmlNode AddChild(const char* name, long value, const char* dataType = nullptr);
    // AddChild for callers that append many elements to nodes of one document:
    // they pass the owner document and the tag name, made once, and receive
    // the new element as a plain node (no interface queried for it).
    nv::ComPtr<IXMLDOMNode> AddElement(IXMLDOMDocument* owner, BSTR tagName, const char* value);
    // Sets the text of the child `name` (an XPath relative to this node) to the
    // decimal value, appending the child when there is none.
    void SetChildNumber(const char* name, long value);

private:
    void RequireNode() const;
    void RequireAttributeAccess(const char* name) const;

    nv::ComPtr<IXMLDOMNode> m_node;
    nv::ComPtr<IXMLDOMElement> m_element;
};

// Forward-only walk over the result of a selection.
class CNvXmlNodeList {
public:
    CNvXmlNodeList() = default;
    explicit CNvXmlNodeList(IXMLDOMNodeList* list) : m_list(list) {}

    // Moves to the next node; false at the end.
    bool Next();
    CNvXmlNode& GetCurrent();

private:
    void RequireList() const;

    nv::ComPtr<IXMLDOMNodeList> m_list;
    CNvXmlNode m_current;
};
