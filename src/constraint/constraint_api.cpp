#include "constraint/constraint_api.h"

#include "constraint/constraint_evaluator.h"
#include "support/com_apartment.h"
#include "support/text.h"
#include "xml/nv_xml_document.h"

namespace Norvane::News {

// XML layer errors (empty text, parse errors, empty nodes) leave these
// functions; the export layer turns them into 0 and the thread's error info.
long CheckConstraint(const char* constraintXml)
{
    // Callers need not have initialised COM; an earlier initialisation is fine too.
    nv::ComApartment com;
    CNvXmlDocument document;
    document.LoadXml(nv::FromNullable(constraintXml));
    CNvXmlNode root = document.SelectSingleNode(".");
    if (root.IsEmpty())
        return 1;
    return nv::Evaluate(root) ? 1 : 0;
}

long EvaluateNodeOSVersion(IXMLDOMNode* node)
{
    return nv::EvaluateOsVersion(CNvXmlNode(node)) ? 1 : 0;
}

long EvaluateNodeProduct(IXMLDOMNode* node)
{
    return nv::EvaluateProduct(CNvXmlNode(node)) ? 1 : 0;
}

long EvaluateNodeRegEntry(IXMLDOMNode* node)
{
    return nv::EvaluateRegEntry(CNvXmlNode(node)) ? 1 : 0;
}

} // namespace Norvane::News
