// The constraint functions as the suite's programs call them: by exported
// name, with nodes of the caller's own MSXML documents. Failures of the XML
// layer end at the module boundary as 0 and the thread's error info.
#include "harness/error_info.h"
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"
#include "harness/registry_sandbox.h"
#include "nvinfo.h"
#include "support/msxml_ids.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

namespace {

TEST(ConstraintExports, BothCheckConstraintEntriesGiveResultOrZeroWithErrorInfo)
{
    std::string opens, closes;
    for (int level = 0; level < 20000; ++level)
        opens += "<or>", closes += "</or>";
    const std::string deep = opens + "<true/>" + closes;
    const std::string huge = "<regEntry regKey=\"" + std::string(1 << 20, 'k') + "\" value=\"1\"/>";
    const struct {
        const char* xml;
        long expected;
        const char* descriptionStart;
    } rows[] = {
        {"<if><and><true/><not><false/></not></and></if>", 1, "<no error info>"},
        {"<xor><true/><true/></xor>", 0, "<no error info>"},
        {"", 0, "XML Document is empty!"},
        {nullptr, 0, "XML Document is empty!"},
        {"<and><true/></or>", 0, "XML ParseError:"},
        {"<true/><true/>", 0, "XML ParseError:"},
        {deep.c_str(), 0, ""},
        {huge.c_str(), 0, ""},
    };
    const auto cppEntry = NvinfoModule::Proc<PFN_NV_CHECKCONSTRAINT>(NVINFO_CHECKCONSTRAINT_CPP);
    const auto stdEntry = NvinfoModule::Proc<PFN_NV_CHECKCONSTRAINT_STD>("CheckConstraint");
    for (const auto& row : rows) {
        const std::string name = row.xml ? std::string(row.xml).substr(0, 40) : "null";
        ClearErrorInfo();
        EXPECT_EQ(row.expected, cppEntry(row.xml)) << name << " (cdecl)";
        EXPECT_EQ(0u, TakeErrorDescription().find(row.descriptionStart)) << name << " (cdecl)";
        ClearErrorInfo();
        EXPECT_EQ(row.expected, stdEntry(row.xml)) << name << " (stdcall)";
        EXPECT_EQ(0u, TakeErrorDescription().find(row.descriptionStart)) << name << " (stdcall)";
    }
}

// The root element of a document of the caller's own (or its first child),
// made as the suite's programs make it; the node keeps its document alive.
IXMLDOMNode* CallerNode(const std::string& xml, bool firstChild)
{
    CoInitialize(nullptr);
    IXMLDOMDocument* document = nullptr;
    EXPECT_EQ(S_OK, CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_INPROC_SERVER,
                                     nv::IID_IXMLDOMDocument, reinterpret_cast<void**>(&document)));
    if (!document)
        return nullptr;
    BSTR text = SysAllocString(std::wstring(xml.begin(), xml.end()).c_str());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    document->loadXML(text, &loaded);
    SysFreeString(text);
    IXMLDOMElement* root = nullptr;
    document->get_documentElement(&root);
    document->Release();
    IXMLDOMNode* node = nullptr;
    if (root && firstChild)
        root->get_firstChild(&node);
    else if (root)
        root->QueryInterface(nv::IID_IXMLDOMNode, reinterpret_cast<void**>(&node));
    if (root)
        root->Release();
    return node;
}

TEST(ConstraintExports, EvaluateNodeExportsReadTheCallersNodes)
{
    RegistrySandbox sandbox;
    const char currentVersion[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
    sandbox.SetDword(HKEY_LOCAL_MACHINE, currentVersion, "CurrentMajorVersionNumber", 10);
    sandbox.SetDword(HKEY_LOCAL_MACHINE, currentVersion, "CurrentMinorVersionNumber", 0);
    sandbox.SetString(HKEY_LOCAL_MACHINE, currentVersion, "CurrentBuild", "19045");
    const char key[] = "Software\\Norvane\\ConstraintExportTest";
    sandbox.SetString(HKEY_CURRENT_USER, key, "Folder", OutputFolder());
    sandbox.SetString(HKEY_CURRENT_USER, key, "Edition", "Profi");
    const std::string path = std::string("HKCU\\") + key + "\\";
    const std::string product = "<product regKey=\"" + path + "Folder\" append=\"verfix_product_differs.dll\" ";
    const std::string edition = "<regEntry regKey=\"" + path + "Edition\" ";
    const char* const os = NVINFO_EVALUATENODEOSVERSION;
    const char* const reg = NVINFO_EVALUATENODEREGENTRY;
    const char* const none = "<no error info>";
    const char* const noElement = "XML Element not initialized!";
    const struct {
        const char* exportName;
        std::string xml;
        bool firstChild;
        long expected;
        const char* description;
    } rows[] = {
        {os, "<osversion version=\"win10\"/>", false, 1, none},
        {os, "<osversion from=\"win7\" to=\"win8\"/>", false, 0, none},
        {NVINFO_EVALUATENODEPRODUCT, product + "version=\"2.5\"/>", false, 1, none},
        {NVINFO_EVALUATENODEPRODUCT, product + "version=\"3.0\"/>", false, 0, none},
        {reg, edition + "value=\"Profi\"/>", false, 1, none},
        {reg, edition + "value=\"Basis\"/>", false, 0, none},
        // Each export evaluates its own leaf, whatever the element is called.
        {reg, "<true regKey=\"" + path + "Edition\" value=\"Profi\"/>", false, 1, none},
        {os, "<osversion>text</osversion>", true, 0, noElement},
        {NVINFO_EVALUATENODEPRODUCT, "<product>text</product>", true, 0, noElement},
        {reg, "<regEntry>text</regEntry>", true, 0, noElement},
        // No node at all: the Windows version test simply does not hold.
        {os, "", false, 0, none},
        {NVINFO_EVALUATENODEPRODUCT, "", false, 0, noElement},
        {reg, "", false, 0, noElement},
    };
    for (const auto& row : rows) {
        const std::string name = std::string(row.exportName) + " " + row.xml;
        IXMLDOMNode* node = row.xml.empty() ? nullptr : CallerNode(row.xml, row.firstChild);
        ASSERT_TRUE(node || row.xml.empty()) << name;
        ULONG before = node ? (node->AddRef(), node->Release()) : 0;
        ClearErrorInfo();
        EXPECT_EQ(row.expected, NvinfoModule::Proc<PFN_NV_EVALUATENODE>(row.exportName)(node)) << name;
        EXPECT_EQ(row.description, TakeErrorDescription()) << name;
        // The caller still owns its node, with no reference gained or lost.
        EXPECT_EQ(before, node ? (node->AddRef(), node->Release()) : 0) << name;
        if (node)
            node->Release();
    }
}

} // namespace
