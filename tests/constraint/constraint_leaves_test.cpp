// The leaf elements against the machine: the Windows version from the
// registry values of the test prefix, product versions of the fixture modules
// named through registry path values, and registry texts.
#include "constraint/constraint_api.h"
#include "constraint/constraint_evaluator.h"
#include "constraint/windows_version_values.h"
#include "constraint/xml_root.h"
#include "harness/module_paths.h"
#include "support/com_error.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kTestKey[] = "Software\\Norvane\\ConstraintLeafTest";
const std::string kTestPath = "HKCU\\Software\\Norvane\\ConstraintLeafTest\\";

struct LeafRow {
    const char* name;
    std::string xml;
    bool expected;
};

// Each row both as a whole constraint text and through its leaf evaluation.
template <size_t N>
void ExpectLeafRows(const LeafRow (&rows)[N], bool (*leaf)(const CNvXmlNode&))
{
    for (const LeafRow& row : rows) {
        EXPECT_EQ(row.expected ? 1 : 0, Norvane::News::CheckConstraint(row.xml.c_str())) << row.name;
        EXPECT_EQ(row.expected, leaf(RootOf(row.xml))) << row.name << " (leaf)";
    }
}

TEST(OsVersionElement, ComparesWithTheRunningWindows10)
{
    RegistrySandbox sandbox;
    SetWindowsVersion(sandbox, 10, 0, "19045");
    const LeafRow rows[] = {
        {"name in capitals", "<osversion version=\"WIN10\"/>", true},
        {"short version text", "<osversion version=\"2.10\"/>", true},
        {"other Windows", "<osversion version=\"win7\"/>", false},
        {"revision differs", "<osversion version=\"2.10.0.1\"/>", false},
        {"unknown name", "<osversion version=\"win12\"/>", false},
        {"from win7 to win11", "<osversion from=\"win7\" to=\"win11\"/>", true},
        {"from win7 alone", "<osversion from=\"win7\"/>", false},
        {"to win10 alone", "<osversion to=\"Win10\"/>", true},
        {"to win8 alone", "<osversion to=\"win8\"/>", false},
        {"from win11", "<osversion from=\"win11\" to=\"win11\"/>", false},
        {"bounds inclusive", "<osversion from=\"2.10.0\" to=\"2.10.0\"/>", true},
        {"no attributes", "<osversion/>", false},
        {"empty version uses bounds", "<osversion version=\"\" from=\"win7\" to=\"win10\"/>", true},
        {"version wins over bounds", "<osversion version=\"win7\" from=\"win7\" to=\"win11\"/>",
         false},
        {"bounds reversed", "<osversion from=\"win11\" to=\"win7\"/>", false},
    };
    ExpectLeafRows(rows, EvaluateOsVersion);
}

TEST(OsVersionElement, TellsWindows11ByItsBuildNumber)
{
    RegistrySandbox sandbox;
    SetWindowsVersion(sandbox, 10, 0, "22631");
    const LeafRow rows[] = {
        {"win11", "<osversion version=\"win11\"/>", true},
        {"win10", "<osversion version=\"win10\"/>", false},
        {"up to win10", "<osversion from=\"win7\" to=\"win10\"/>", false},
        {"nt range", "<osversion from=\"winnt\" to=\"2.99\"/>", true},
    };
    ExpectLeafRows(rows, EvaluateOsVersion);
}

TEST(OsVersionElement, EmptyNodeDoesNotHold)
{
    EXPECT_FALSE(EvaluateOsVersion(CNvXmlNode()));
}

class ProductElement : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Folder", OutputFolder());
        m_sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Module",
                            OutputFile("verfix_product_differs.dll"));
        m_sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Empty", "");
        m_sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Long", std::string(400, 'x'));
        m_sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Huge", std::string(1500, 'x'));
    }

    // A product element naming the fixture through `value` and `append`.
    static std::string Product(const char* value, const char* append, const std::string& rest)
    {
        return "<product regKey=\"" + kTestPath + value + "\" append=\"" + append + "\" " + rest
               + "/>";
    }

    RegistrySandbox m_sandbox;
};

TEST_F(ProductElement, ComparesTheProductVersionOfTheNamedFile)
{
    const char* module = "verfix_product_differs.dll";
    const LeafRow rows[] = {
        {"product version", Product("Folder", module, "version=\"2.5\""), true},
        {"file version is not it", Product("Folder", module, "version=\"3.0\""), false},
        {"inside bounds", Product("Folder", module, "from=\"2.0\" to=\"2.5.0.0\""), true},
        {"above upper bound", Product("Folder", module, "from=\"1\" to=\"2.4.99\""), false},
        {"below lower bound", Product("Folder", module, "from=\"2.5.0.1\" to=\"9\""), false},
        {"from alone", Product("Folder", module, "from=\"2.0\""), false},
        {"to alone", Product("Folder", module, "to=\"2.5\""), true},
        {"path without append", Product("Module", "", "version=\"2.5\""), true},
        {"four parts", Product("Folder", "verfix_all_parts.dll", "version=\"65535.7.19041.3\""),
         true},
        {"unversioned module", Product("Folder", "verfix_unversioned.dll", "version=\"0\""), true},
        {"unversioned module above none", Product("Folder", "verfix_unversioned.dll", "to=\"0\""),
         true},
        {"missing file", Product("Folder", "not-installed.exe", "version=\"0.0.0.0\""), true},
        {"missing file against a version", Product("Folder", "not-installed.exe", "from=\"1\""),
         false},
        // Folder and name over MAX_PATH together name no file.
        {"over-long combined path", Product("Long", "app.exe", "version=\"0\""), true},
        {"registry value empty", Product("Empty", module, "version=\"0\""), false},
        {"registry value missing", Product("Absent", module, "version=\"0\""), false},
        {"registry value over 1024 bytes", Product("Huge", module, "version=\"0\""), false},
        {"no regKey", "<product append=\"x.dll\" version=\"0\"/>", false},
        {"empty regKey", "<product regKey=\"\" version=\"0\"/>", false},
    };
    ExpectLeafRows(rows, EvaluateProduct);
}

TEST_F(ProductElement, AttributeValuesAreCutTo1023Bytes)
{
    // The revision's last digit lies beyond byte 1023: cut off, it reads as 0.
    std::string version = "2.5.0." + std::string(1017, '0') + "1";
    EXPECT_EQ(1, Norvane::News::CheckConstraint(
                     Product("Folder", "verfix_product_differs.dll", "version=\"" + version + "\"")
                         .c_str()));
    std::string hugeKey = "<product regKey=\"" + kTestPath + std::string(100000, 'k')
                          + "\" version=\"0\"/>";
    EXPECT_EQ(0, Norvane::News::CheckConstraint(hugeKey.c_str()));
}

TEST(RegEntryElement, ComparesTheNormalisedRegistryText)
{
    RegistrySandbox sandbox;
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Truth", "wahr");
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Edition", "Profi");
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Padded", " Profi");
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Empty", "");
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Full", std::string(1023, 'a'));
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Huge", std::string(1024, 'a'));
    auto entry = [](const char* value, const std::string& text) {
        return "<regEntry regKey=\"" + kTestPath + value + "\" value=\"" + text + "\"/>";
    };
    const LeafRow rows[] = {
        {"normalised yes", entry("Truth", "1"), true},
        {"raw text no longer there", entry("Truth", "wahr"), false},
        {"exact text", entry("Edition", "Profi"), true},
        {"case matters", entry("Edition", "profi"), false},
        {"no trimming", entry("Padded", "Profi"), false},
        {"empty value attribute", entry("Edition", ""), false},
        {"empty registry text", entry("Empty", ""), false},
        {"missing registry value", entry("Absent", "Profi"), false},
        {"1023 bytes and a zero fit", entry("Full", std::string(1023, 'a')), true},
        // The value attribute is cut to 1023 bytes before the comparison.
        {"longer attribute is cut", entry("Full", std::string(1023, 'a') + "bbbb"), true},
        {"registry text over 1024 bytes", entry("Huge", std::string(1024, 'a')), false},
        {"no regKey", "<regEntry value=\"1\"/>", false},
        {"no value attribute", "<regEntry regKey=\"" + kTestPath + "Edition\"/>", false},
    };
    ExpectLeafRows(rows, EvaluateRegEntry);
}

TEST(LeafElements, NodesThatAreNoElementsRaise)
{
    CNvXmlNode text = RootOf("<and>text</and>").SelectSingleNode("text()");
    ASSERT_FALSE(text.IsEmpty());
    for (bool (*leaf)(const CNvXmlNode&) : {EvaluateProduct, EvaluateRegEntry, EvaluateOsVersion}) {
        try {
            leaf(text);
            ADD_FAILURE() << "no error for a text node";
        } catch (const nv::ComError& error) {
            EXPECT_EQ("XML Element not initialized!", error.Description());
        }
    }
    try {
        Evaluate(CNvXmlNode());
        ADD_FAILURE() << "no error for an empty node";
    } catch (const nv::ComError& error) {
        EXPECT_EQ("XML Element not initialized!", error.Description());
    }
}

} // namespace
