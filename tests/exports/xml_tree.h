// An XML text returned by the module, read back through MSXML into a plain
// tree, so tests compare documents element by element.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct XmlElement {
    std::string name;
    // The element's own text children, concatenated.
    std::string text;
    size_t attributeCount = 0;
    // Child nodes that are neither elements nor text (comments, PIs, ...).
    size_t otherNodeCount = 0;
    std::vector<XmlElement> children;
};

// The document element of `xml`; a text that does not parse fails the
// calling test and gives an element without name. Whitespace-only text
// between elements is dropped. COM must be initialised.
XmlElement ReadXmlTree(BSTR xml);
