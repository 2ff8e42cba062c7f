// Walking the child elements of a node directly. Feeds are read item by item,
// and an XPath query per child looked for costs several times what the walk
// costs: with thousands of items it is most of the reading time.
#pragma once

#include "xml/nv_xml_node.h"

#include <functional>

namespace nv {

// Calls `visit` with each child element of `parent` and its name (prefix
// included), in document order.
void ForEachChildElement(const CNvXmlNode& parent,
                         const std::function<void(IXMLDOMNode* child, BSTR name)>& visit);

// True when the string value of `element` is exactly "1", as the test
// [.='1'] decides: white space around the digit does not count.
bool HasValueOne(IXMLDOMNode* element);

} // namespace nv
