#include "constraint/constraint_api.h"

// Placeholder until the constraint engine lands: nothing holds.
namespace Norvane {
namespace News {

long CheckConstraint(const char*) { return 0; }
long EvaluateNodeOSVersion(IXMLDOMNode*) { return 0; }
long EvaluateNodeProduct(IXMLDOMNode*) { return 0; }
long EvaluateNodeRegEntry(IXMLDOMNode*) { return 0; }

} // namespace News
} // namespace Norvane
