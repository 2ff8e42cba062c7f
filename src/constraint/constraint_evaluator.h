// The constraint language: a small XML tree over the Windows version, product
// file versions and registry values, combined with and/or/xor/not. Every
// evaluation reads registry values and file versions afresh; the Windows
// version is read once per ConstraintReads.
#pragma once

#include "xml/nv_xml_node.h"

#include <string>

namespace nv {

// Nesting deeper than this does not hold: the evaluation recurses per level,
// and a constraint from a feed must not be able to exhaust the caller's stack.
const int kMaxConstraintDepth = 256;

// What one caller's constraints share while it evaluates many of them (a
// feed's items): the running Windows version, read at its first use. It
// cannot change while a call runs, so reading it once per call is enough;
// registry values and file versions are still read at every use.
class ConstraintReads {
public:
    // False when the system does not tell its version.
    bool RunningOsVersion(std::string& versionText);

private:
    bool m_read = false;
    bool m_known = false;
    std::string m_osVersion;
};

// True when the constraint element holds. An empty node raises "XML Element
// not initialized!"; failing DOM calls raise their COM error.
bool Evaluate(const CNvXmlNode& node);
bool Evaluate(const CNvXmlNode& node, ConstraintReads& reads);

// The leaf elements `osversion`, `product` and `regEntry`.
bool EvaluateOsVersion(const CNvXmlNode& node);
bool EvaluateProduct(const CNvXmlNode& node);
bool EvaluateRegEntry(const CNvXmlNode& node);

} // namespace nv
