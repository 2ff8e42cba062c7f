// The constraint language: a small XML tree over the Windows version, product
// file versions and registry values, combined with and/or/xor/not. Every
// evaluation reads the machine afresh; nothing is cached.
#pragma once

#include "xml/nv_xml_node.h"

namespace nv {

// Nesting deeper than this does not hold: the evaluation recurses per level,
// and a constraint from a feed must not be able to exhaust the caller's stack.
const int kMaxConstraintDepth = 256;

// True when the constraint element holds. An empty node raises "XML Element
// not initialized!"; failing DOM calls raise their COM error.
bool Evaluate(const CNvXmlNode& node);

// The leaf elements `osversion`, `product` and `regEntry`.
bool EvaluateOsVersion(const CNvXmlNode& node);
bool EvaluateProduct(const CNvXmlNode& node);
bool EvaluateRegEntry(const CNvXmlNode& node);

} // namespace nv
