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
    const std::string huge =
        "<regEntry regKey=\"" + std::string(1 << 20, 'k') + "\" value=\"1\"/>";
    const struct { const char *xml; long expected; const char *descriptionStart; } rows[] = {
        {"<if><and><true/><not><false/></not></and></if>", 1, "<no error info>"},
        {"<xor><true/><true/></xor>", 0, "<no error info>"},
        {"", 0, "XML Document is empty!"},
        {nullptr, 0, "XML Document is empty!"},
        {"<and><true/></or>", 0, "XML ParseError:"},
        {deep.c_str(), 0, ""},
        {huge.c_str(), 0, "<no error info>"},
    };
    const auto cppEntry = NvinfoModule::Proc<PFN_NV_CHECKCONSTRAINT>(NVINFO_CHECKCONSTRAINT_CPP);
    const auto stdEntry = NvinfoModule::Proc<PFN_NV_CHECKCONSTRAINT_STD>("CheckConstraint");
    for (const auto& row : rows) {
        const std::string name = row.xml ? std::string(row.xml).substr(0, 40) : "null";
        for (bool cpp : {true, false}) {
            const std::string where = name + (cpp ? " (cdecl)" : " (stdcall)");
            ClearErrorInfo();
            EXPECT_EQ(row.expected, cpp ? cppEntry(row.xml) : stdEntry(row.xml)) << where;
            EXPECT_EQ(0u, TakeErrorDescription().find(row.descriptionStart)) << where;
        }
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
    BSTR text = SysAllocString(std::wstring(xml.begin(), xml.end()).c_str());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    IXMLDOMNode* node = nullptr;
    if (document && document->loadXML(text, &loaded) == S_OK)
        document->get_firstChild(&node);
    SysFreeString(text);
    if (document)
        document->Release();
    IXMLDOMNode* child = nullptr;
    if (node && firstChild && node->get_firstChild(&child) == S_OK) {
        node->Release();
        node = child;
    }
    return node;
}

TEST(ConstraintExports, EvaluateNodeExportsReadTheCallersNodes)
{
    RegistrySandbox sandbox;
    const char key[] = "Software\\Norvane\\ConstraintExportTest";
    sandbox.SetString(HKEY_CURRENT_USER, key, "Folder", OutputFolder());
    sandbox.SetString(HKEY_CURRENT_USER, key, "Edition", "Profi");
    const std::string path = std::string("HKCU\\") + key + "\\";
    const std::string edition = "<regEntry regKey=\"" + path + "Edition\" ";
    const char* const os = NVINFO_EVALUATENODEOSVERSION;
    const char* const product = NVINFO_EVALUATENODEPRODUCT;
    const char* const reg = NVINFO_EVALUATENODEREGENTRY;
    const char* const none = "<no error info>";
    const char* const noElement = "XML Element not initialized!";
    const struct { const char* exportName; std::string xml; bool firstChild; long expected;
                   const char* description; } rows[] = {
        // Any Windows NT up to major version 99, then Windows 98 alone.
        {os, "<osversion from=\"winnt\" to=\"2.99\"/>", false, 1, none},
        {os, "<osversion version=\"win98\"/>", false, 0, none},
        {product, "<product regKey=\"" + path + "Folder\" append=\"verfix_product_differs.dll\""
                  " version=\"2.5\"/>", false, 1, none},
        {reg, edition + "value=\"Profi\"/>", false, 1, none},
        {reg, edition + "value=\"Basis\"/>", false, 0, none},
        // Each export evaluates its own leaf, whatever the element is called.
        {reg, "<true regKey=\"" + path + "Edition\" value=\"Profi\"/>", false, 1, none},
        {os, "<osversion>text</osversion>", true, 0, noElement},
        {product, "<product>text</product>", true, 0, noElement},
        {reg, "<regEntry>text</regEntry>", true, 0, noElement},
        // No node at all: the Windows version test simply does not hold.
        {os, "", false, 0, none},
        {product, "", false, 0, noElement},
        {reg, "", false, 0, noElement},
    };
    for (const auto& row : rows) {
        const std::string name = std::string(row.exportName) + " " + row.xml;
        IXMLDOMNode* node = row.xml.empty() ? nullptr : CallerNode(row.xml, row.firstChild);
        ULONG before = node ? (node->AddRef(), node->Release()) : 0;
        ClearErrorInfo();
        const auto evaluate = NvinfoModule::Proc<PFN_NV_EVALUATENODE>(row.exportName);
        EXPECT_EQ(row.expected, evaluate(node)) << name;
        EXPECT_EQ(row.description, TakeErrorDescription()) << name;
        // The caller still owns its node, with no reference gained or lost.
        EXPECT_EQ(before, node ? (node->AddRef(), node->Release()) : 0) << name;
        if (node)
            node->Release();
    }
}

} // namespace
