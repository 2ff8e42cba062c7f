// Constraint trees for tests, parsed by the module's own XML layer.
#pragma once

#include "xml/nv_xml_node.h"

#include <string>

// The root element of `xml`; the node keeps its document alive. Initialises
// COM on the thread first, as the module's cores do.
CNvXmlNode RootOf(const std::string& xml);
