#include "constraint/constraint_evaluator.h"

#include "constraint/exe_version.h"
#include "constraint/os_version.h"
#include "frame/registry_path.h"
#include "xml/nv_xml_error.h"

#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace nv {

namespace {

// Attribute values are read into buffers of this size, as they always were;
// longer values are cut to 1023 bytes.
const int kAttributeBufferSize = 1024;

struct DepthExceeded {};

std::string ReadAttribute(const CNvXmlNode& node, const char* name)
{
    char buffer[kAttributeBufferSize];
    return node.GetAttribute(name, buffer, kAttributeBufferSize, "");
}

std::string SameText(const std::string& text) { return text; }

// `version` asks for equality; otherwise `from` and `to` are inclusive bounds.
// A missing `to` reads as 0.0.0.0 and so admits nothing above it: callers have
// written constraints against that reading for years.
bool MatchesVersionAttributes(const CNvXmlNode& node, const CVersionNumber& actual,
                              std::string (*toVersionText)(const std::string&))
{
    std::string version = ReadAttribute(node, "version");
    if (!version.empty())
        return CVersionNumber(toVersionText(version)) == actual;
    CVersionNumber from(toVersionText(ReadAttribute(node, "from")));
    CVersionNumber to(toVersionText(ReadAttribute(node, "to")));
    return !Greater(from, actual) && !Greater(actual, to);
}

// The registry text named by the node's `regKey`; empty when either is empty.
std::string ReadRegKeyValue(const CNvXmlNode& node)
{
    std::string regKey = ReadAttribute(node, "regKey");
    if (regKey.empty())
        return std::string();
    return ReadRegistryPathValue(regKey, std::string());
}

std::string ProductFilePath(const std::string& folder, const std::string& append)
{
    if (append.empty())
        return folder;
    char path[MAX_PATH] = {};
    // An over-long combination fails; it then names no file and reads as 0.0.0.0.
    if (!PathCombineA(path, folder.c_str(), append.c_str()))
        return std::string();
    return path;
}

bool EvaluateAtDepth(const CNvXmlNode& node, int depth, ConstraintReads& reads);

// The child elements of `node` in document order, as the XPath "*" selects
// them (only the first when `firstOnly`). A walk over the children costs a
// fraction of the query; where an entity reference stands among them (a
// constraint text with a DTD of its own), the query decides, as it sees
// through the reference. Windows' MSXML keeps such references in the tree;
// Wine's does not show one to a test.
std::vector<CNvXmlNode> ChildElements(const CNvXmlNode& node, bool firstOnly)
{
    NvXmlClass::ThrowIf(node.IsEmpty(), E_FAIL, "XML Element not initialized!");
    std::vector<CNvXmlNode> elements;
    nv::ComPtr<IXMLDOMNode> child;
    nv::CheckCall(node.Node()->get_firstChild(child.Receive()), node.Node().Get(),
                  nv::IID_IXMLDOMNode);
    while (child && !(firstOnly && !elements.empty())) {
        DOMNodeType type = NODE_INVALID;
        nv::CheckCall(child->get_nodeType(&type), child.Get(), nv::IID_IXMLDOMNode);
        if (type == NODE_ENTITY_REFERENCE) {
            elements.clear();
            CNvXmlNodeList selected = node.SelectNodes("*");
            while (selected.Next() && !(firstOnly && !elements.empty()))
                elements.push_back(selected.GetCurrent());
            return elements;
        }
        if (type == NODE_ELEMENT)
            elements.emplace_back(child.Get());
        nv::ComPtr<IXMLDOMNode> next;
        nv::CheckCall(child->get_nextSibling(next.Receive()), child.Get(), nv::IID_IXMLDOMNode);
        child = next;
    }
    return elements;
}

bool EvaluateFirstChild(const CNvXmlNode& node, int depth, ConstraintReads& reads)
{
    std::vector<CNvXmlNode> child = ChildElements(node, true);
    return !child.empty() && EvaluateAtDepth(child.front(), depth + 1, reads);
}

enum class Combination { All, Any, Odd };

// `and` stops at the first false child, `or` at the first true one; `xor`
// evaluates every child.
bool EvaluateChildren(const CNvXmlNode& node, int depth, Combination combination,
                      ConstraintReads& reads)
{
    bool odd = false;
    for (const CNvXmlNode& child : ChildElements(node, false)) {
        bool holds = EvaluateAtDepth(child, depth + 1, reads);
        if (combination == Combination::All && !holds)
            return false;
        if (combination == Combination::Any && holds)
            return true;
        odd = odd != holds;
    }
    if (combination == Combination::All)
        return true;
    if (combination == Combination::Any)
        return false;
    return odd;
}

bool EvaluateOsVersionWith(const CNvXmlNode& node, ConstraintReads& reads)
{
    if (node.IsEmpty())
        return false;
    std::string running;
    // A system that does not tell its version is not excluded.
    if (!reads.RunningOsVersion(running))
        return true;
    return MatchesVersionAttributes(node, CVersionNumber(running), OsVersionNameToText);
}

bool EvaluateAtDepth(const CNvXmlNode& node, int depth, ConstraintReads& reads)
{
    if (depth > kMaxConstraintDepth)
        throw DepthExceeded();
    std::string name = node.GetNodeName();
    if (name == "if")
        return EvaluateFirstChild(node, depth, reads);
    if (name == "or")
        return EvaluateChildren(node, depth, Combination::Any, reads);
    if (name == "xor")
        return EvaluateChildren(node, depth, Combination::Odd, reads);
    if (name == "and")
        return EvaluateChildren(node, depth, Combination::All, reads);
    if (name == "not") {
        std::vector<CNvXmlNode> child = ChildElements(node, true);
        return !child.empty() && !EvaluateAtDepth(child.front(), depth + 1, reads);
    }
    if (name == "datacompare")
        return true;
    if (name == "osversion")
        return EvaluateOsVersionWith(node, reads);
    if (name == "product")
        return EvaluateProduct(node);
    if (name == "regEntry")
        return EvaluateRegEntry(node);
    return name == "true";
}

} // namespace

bool ConstraintReads::RunningOsVersion(std::string& versionText)
{
    if (!m_read) {
        m_known = ReadRunningOsVersion(m_osVersion);
        m_read = true;
    }
    versionText = m_osVersion;
    return m_known;
}

bool Evaluate(const CNvXmlNode& node)
{
    ConstraintReads reads;
    return Evaluate(node, reads);
}

bool Evaluate(const CNvXmlNode& node, ConstraintReads& reads)
{
    try {
        return EvaluateAtDepth(node, 1, reads);
    } catch (const DepthExceeded&) {
        return false;
    }
}

bool EvaluateOsVersion(const CNvXmlNode& node)
{
    ConstraintReads reads;
    return EvaluateOsVersionWith(node, reads);
}

bool EvaluateProduct(const CNvXmlNode& node)
{
    std::string folder = ReadRegKeyValue(node);
    if (folder.empty())
        return false;
    std::string path = ProductFilePath(folder, ReadAttribute(node, "append"));
    return MatchesVersionAttributes(node, CExeVersion(path).GetVersion(), SameText);
}

bool EvaluateRegEntry(const CNvXmlNode& node)
{
    std::string registryText = ReadRegKeyValue(node);
    if (registryText.empty())
        return false;
    std::string value = ReadAttribute(node, "value");
    return !value.empty() && registryText == value;
}

} // namespace nv
