// The constraint functions as the suite's programs call them.
#pragma once

#include <windows.h>
#include <msxml2.h>

namespace Norvane::News {

// 1 when the constraint text holds, 0 when not.
long CheckConstraint(const char* constraintXml);
long EvaluateNodeOSVersion(IXMLDOMNode* node);
long EvaluateNodeProduct(IXMLDOMNode* node);
long EvaluateNodeRegEntry(IXMLDOMNode* node);

} // namespace Norvane::News
