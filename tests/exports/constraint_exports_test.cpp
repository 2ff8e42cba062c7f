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

const char kTestKey[] = "Software\\Norvane\\ConstraintExportTest";
const std::string kTestPath = "HKCU\\Software\\Norvane\\ConstraintExportTest\\";
const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";

PFN_NV_CHECKCONSTRAINT CheckCdecl()
{
    return NvinfoModule::Proc<PFN_NV_CHECKCONSTRAINT>(NVINFO_CHECKCONSTRAINT_CPP);
}

PFN_NV_CHECKCONSTRAINT_STD CheckStdcall()
{
    return NvinfoModule::Proc<PFN_NV_CHECKCONSTRAINT_STD>("CheckConstraint");
}

TEST(ConstraintExports, BothCheckConstraintEntriesEvaluate)
{
    struct Row {
        const char* xml;
        long expected;
    };
    const Row rows[] = {
        {"<true/>", 1},
        {"<false/>", 0},
        {"<if><and><true/><not><false/></not></and></if>", 1},
        {"<xor><true/><true/></xor>", 0},
        {"<unknown/>", 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, CheckCdecl()(row.xml)) << row.xml << " (cdecl)";
        EXPECT_EQ(row.expected, CheckStdcall()(row.xml)) << row.xml << " (stdcall)";
    }
}

TEST(ConstraintExports, XmlErrorsBecomeZeroAndErrorInfo)
{
    struct Row {
        const char* name;
        const char* xml;
        const char* descriptionStart;
    };
    const Row rows[] = {
        {"empty text", "", "XML Document is empty!"},
        {"null pointer", nullptr, "XML Document is empty!"},
        {"unclosed element", "<and>", "XML ParseError:"},
        {"wrong end tag", "<and><true/></or>", "XML ParseError:"},
        {"two roots", "<true/><true/>", "XML ParseError:"},
        {"plain text", "wahr", "XML ParseError:"},
    };
    for (const Row& row : rows) {
        ClearErrorInfo();
        EXPECT_EQ(0, CheckCdecl()(row.xml)) << row.name << " (cdecl)";
        EXPECT_EQ(0u, TakeErrorDescription().find(row.descriptionStart)) << row.name << " (cdecl)";
        ClearErrorInfo();
        EXPECT_EQ(0, CheckStdcall()(row.xml)) << row.name << " (stdcall)";
        EXPECT_EQ(0u, TakeErrorDescription().find(row.descriptionStart)) << row.name << " (stdcall)";
    }
}

TEST(ConstraintExports, DeepAndHugeTextsGiveZero)
{
    std::string deep;
    for (int level = 0; level < 20000; ++level)
        deep += "<or>";
    deep += "<true/>";
    for (int level = 0; level < 20000; ++level)
        deep += "</or>";
    EXPECT_EQ(0, CheckStdcall()(deep.c_str())) << "20000 levels";
    std::string huge = "<regEntry regKey=\"" + std::string(1 << 20, 'k') + "\" value=\"1\"/>";
    EXPECT_EQ(0, CheckStdcall()(huge.c_str())) << "attribute of 1 MiB";
}

// A document of the caller's own, made as the suite's programs make it.
class CallerDocument {
public:
    explicit CallerDocument(const char* xml)
    {
        CoInitialize(nullptr);
        HRESULT hr = CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_INPROC_SERVER,
                                      nv::IID_IXMLDOMDocument, reinterpret_cast<void**>(&m_document));
        EXPECT_EQ(S_OK, hr);
        if (!m_document)
            return;
        BSTR text = SysAllocString(std::wstring(xml, xml + strlen(xml)).c_str());
        VARIANT_BOOL loaded = VARIANT_FALSE;
        m_document->loadXML(text, &loaded);
        SysFreeString(text);
        EXPECT_EQ(VARIANT_TRUE, loaded) << xml;
        IXMLDOMElement* root = nullptr;
        m_document->get_documentElement(&root);
        if (root) {
            root->QueryInterface(nv::IID_IXMLDOMNode, reinterpret_cast<void**>(&m_root));
            root->Release();
        }
    }
    ~CallerDocument()
    {
        if (m_root)
            m_root->Release();
        if (m_document)
            m_document->Release();
    }
    CallerDocument(const CallerDocument&) = delete;
    CallerDocument& operator=(const CallerDocument&) = delete;

    IXMLDOMNode* Root() const { return m_root; }
    IXMLDOMNode* FirstChild() const
    {
        IXMLDOMNode* child = nullptr;
        if (m_root)
            m_root->get_firstChild(&child);
        return child;
    }

private:
    IXMLDOMDocument* m_document = nullptr;
    IXMLDOMNode* m_root = nullptr;
};

ULONG ReferenceCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

struct NodeRow {
    const char* name;
    const char* exportName;
    std::string xml;
    long expected;
};

TEST(ConstraintExports, EvaluateNodeExportsReadTheCallersNodes)
{
    RegistrySandbox sandbox;
    sandbox.SetDword(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "CurrentMajorVersionNumber", 10);
    sandbox.SetDword(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "CurrentMinorVersionNumber", 0);
    sandbox.SetString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "CurrentBuild", "19045");
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Folder", OutputFolder());
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Edition", "Profi");
    const std::string product = "<product regKey=\"" + kTestPath
                                + "Folder\" append=\"verfix_product_differs.dll\" ";
    const std::string edition = "<regEntry regKey=\"" + kTestPath + "Edition\" ";
    const NodeRow rows[] = {
        {"windows 10", NVINFO_EVALUATENODEOSVERSION, "<osversion version=\"win10\"/>", 1},
        {"windows 7 to 8", NVINFO_EVALUATENODEOSVERSION, "<osversion from=\"win7\" to=\"win8\"/>",
         0},
        {"product version", NVINFO_EVALUATENODEPRODUCT, product + "version=\"2.5\"/>", 1},
        {"file version", NVINFO_EVALUATENODEPRODUCT, product + "version=\"3.0\"/>", 0},
        {"registry text", NVINFO_EVALUATENODEREGENTRY, edition + "value=\"Profi\"/>", 1},
        {"other registry text", NVINFO_EVALUATENODEREGENTRY, edition + "value=\"Basis\"/>", 0},
        // Each export evaluates its own leaf, whatever the element is called.
        {"name not checked", NVINFO_EVALUATENODEREGENTRY,
         "<true regKey=\"" + kTestPath + "Edition\" value=\"Profi\"/>", 1},
    };
    for (const NodeRow& row : rows) {
        CallerDocument document(row.xml.c_str());
        ASSERT_NE(nullptr, document.Root()) << row.name;
        ULONG before = ReferenceCount(document.Root());
        auto evaluate = NvinfoModule::Proc<PFN_NV_EVALUATENODE>(row.exportName);
        EXPECT_EQ(row.expected, evaluate(document.Root())) << row.name;
        // The caller still owns its node, with no reference gained or lost.
        EXPECT_EQ(before, ReferenceCount(document.Root())) << row.name;
    }
}

TEST(ConstraintExports, EvaluateNodeExportsRefuseNodesThatAreNoElements)
{
    CallerDocument document("<regEntry>text</regEntry>");
    IXMLDOMNode* text = document.FirstChild();
    ASSERT_NE(nullptr, text);
    const char* raising[] = {NVINFO_EVALUATENODEPRODUCT, NVINFO_EVALUATENODEREGENTRY,
                             NVINFO_EVALUATENODEOSVERSION};
    for (const char* name : raising) {
        ClearErrorInfo();
        EXPECT_EQ(0, NvinfoModule::Proc<PFN_NV_EVALUATENODE>(name)(text)) << name;
        EXPECT_EQ("XML Element not initialized!", TakeErrorDescription()) << name;
    }
    text->Release();
    // No node at all: the Windows version test simply does not hold.
    ClearErrorInfo();
    EXPECT_EQ(0, NvinfoModule::Proc<PFN_NV_EVALUATENODE>(NVINFO_EVALUATENODEOSVERSION)(nullptr));
    EXPECT_EQ("<no error info>", TakeErrorDescription());
    for (const char* name : {NVINFO_EVALUATENODEPRODUCT, NVINFO_EVALUATENODEREGENTRY}) {
        ClearErrorInfo();
        EXPECT_EQ(0, NvinfoModule::Proc<PFN_NV_EVALUATENODE>(name)(nullptr)) << name;
        EXPECT_EQ("XML Element not initialized!", TakeErrorDescription()) << name;
    }
}

} // namespace
