// The constraint functions called by exported name, with nodes of the caller's own documents;
// failures of the XML layer end at the module boundary as 0 and the thread's error info.
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"
#include "harness/registry_sandbox.h"
#include "nvinfo.h"
#include "support/bstr_text.h"
#include "support/msxml_ids.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

namespace {

// The description the module left as the thread's error info.
std::string TakeErrorDescription()
{
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return "<no error info>";
    BSTR description = nullptr;
    info->GetDescription(&description);
    info->Release();
    return nv::BstrText::Attach(description).AnsiString();
}

// The stdcall entry passes on to the cdecl one, so it shows both.
TEST(ConstraintExports, CheckConstraintGivesResultOrZeroWithErrorInfo)
{
    const struct {
        const char* xml;
        long expected;
        const char* descriptionStart;
    } rows[] = {
        {"<if><and><true/><not><false/></not></and></if>", 1, "<no error info>"},
        {nullptr, 0, "XML Document is empty!"},
        {"<and><true/>", 0, "XML ParseError:"},
    };
    const auto check = NvinfoModule::Proc<PFN_NV_CHECKCONSTRAINT_STD>("CheckConstraint");
    for (const auto& row : rows) {
        const std::string name = row.xml ? std::string(row.xml).substr(0, 40) : "null";
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(row.expected, check(row.xml)) << name;
        EXPECT_EQ(0u, TakeErrorDescription().find(row.descriptionStart)) << name;
    }
}

// The root element of a caller's document (or its first child), which keeps the document alive.
IXMLDOMNode* CallerNode(const std::string& xml, bool firstChild)
{
    CoInitialize(nullptr);
    IXMLDOMDocument* document = nullptr;
    EXPECT_EQ(S_OK, CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_INPROC_SERVER,
                                     nv::IID_IXMLDOMDocument, reinterpret_cast<void**>(&document)));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    EXPECT_EQ(S_OK, document->loadXML(nv::BstrText(xml).Get(), &loaded)) << xml;
    IXMLDOMNode* node = document;
    for (int level = firstChild ? 2 : 1; level > 0; --level) {
        IXMLDOMNode* child = nullptr;
        EXPECT_EQ(S_OK, node->get_firstChild(&child)) << xml;
        node->Release();
        node = child;
    }
    return node;
}

TEST(ConstraintExports, EvaluateNodeExportsReadTheCallersNodes)
{
    RegistrySandbox sandbox;
    const char key[] = "Software\\Norvane\\ConstraintExportTest";
    sandbox.Set(HKEY_CURRENT_USER, key, "Folder", OutputFolder());
    const std::string regKey = "regKey=\"HKCU\\" + std::string(key) + "\\Folder\" ";
    const char* const os = NVINFO_EVALUATENODEOSVERSION;
    const char* const product = NVINFO_EVALUATENODEPRODUCT;
    const char* const reg = NVINFO_EVALUATENODEREGENTRY;
    const char* const none = "<no error info>";
    const struct {
        const char* exportName;
        std::string xml;
        bool firstChild;
        long expected;
        const char* description;
    } rows[] = {
        {os, "<osversion from=\"winnt\" to=\"2.99\"/>", false, 1, none},
        {product, "<product " + regKey + "append=\"verfix_product_differs.dll\" version=\"2.5\"/>",
         false, 1, none},
        // Each export evaluates its own leaf, whatever the element is called.
        {reg, "<true " + regKey + "value=\"" + OutputFolder() + "\"/>", false, 1, none},
        {os, "<osversion>text</osversion>", true, 0, "XML Element not initialized!"},
        {os, "", false, 0, none},
        {reg, "", false, 0, "XML Element not initialized!"},
    };
    for (const auto& row : rows) {
        IXMLDOMNode* node = row.xml.empty() ? nullptr : CallerNode(row.xml, row.firstChild);
        ULONG before = node ? (node->AddRef(), node->Release()) : 0;
        SetErrorInfo(0, nullptr);
        const auto evaluate = NvinfoModule::Proc<PFN_NV_EVALUATENODE>(row.exportName);
        EXPECT_EQ(row.expected, evaluate(node)) << row.exportName << row.xml;
        EXPECT_EQ(row.description, TakeErrorDescription()) << row.exportName << row.xml;
        // The caller still owns its node, with no reference gained or lost.
        EXPECT_EQ(before, node ? (node->AddRef(), node->Release()) : 0) << row.exportName;
        if (node)
            node->Release();
    }
}

} // namespace
