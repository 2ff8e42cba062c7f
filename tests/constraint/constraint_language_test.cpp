// The constraint language against set registry values and the fixture modules' versions;
// trees deeper than the parser takes are grown through the DOM.
#include "constraint/constraint_api.h"
#include "constraint/constraint_evaluator.h"
#include "harness/module_paths.h"
#include "harness/registry_sandbox.h"
#include "xml/nv_xml_document.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <utility>

namespace {

TEST(ConstraintLanguage, EachElementGivesItsResult)
{
    RegistrySandbox sandbox;
    const char kTestKey[] = "Software\\Norvane\\ConstraintTest";
    const char currentVersion[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
    sandbox.Set(HKEY_LOCAL_MACHINE, currentVersion, "CurrentMajorVersionNumber", DwordData(10),
                REG_DWORD);
    sandbox.Set(HKEY_LOCAL_MACHINE, currentVersion, "CurrentMinorVersionNumber", DwordData(0),
                REG_DWORD);
    sandbox.Set(HKEY_LOCAL_MACHINE, currentVersion, "CurrentBuild", "19045");
    for (const auto& value : std::initializer_list<std::pair<const char*, std::string>>{
             {"Folder", OutputFolder()},
             {"Module", OutputFile("verfix_product_differs.dll")},
             {"Long", std::string(400, 'x')},
             {"Edition", "Profi"},
             {"Truth", "wahr"},
             {"Full", std::string(1023, 'a')},
             {"Huge", std::string(1500, 'a')}})
        sandbox.Set(HKEY_CURRENT_USER, kTestKey, value.first, value.second);
    const std::string path = std::string("HKCU\\") + kTestKey + "\\";
    auto Os = [](const std::string& attributes) { return "<osversion " + attributes + "/>"; };
    auto Product = [&path](const std::string& attrs,
                           const char* append = "verfix_product_differs.dll",
                           const char* value = "Folder") {
        return "<product regKey=\"" + path + value + "\" append=\"" + append + "\" " + attrs + "/>";
    };
    auto RegEntry = [&path](const char* value, const std::string& text) {
        return "<regEntry regKey=\"" + path + value + "\" value=\"" + text + "\"/>";
    };
    const struct {
        std::string xml;
        long expected;
    } rows[] = {
        {"<true/>", 1},
        {"<false/>", 0},
        {"<and/>", 1},
        {"<or/>", 0},
        {"<not/>", 0},
        {"<if/>", 0},
        {"<datacompare a=\"1\"><false/></datacompare>", 1},
        // Names are compared exactly, prefix included; a default namespace does not matter.
        {"<True/>", 0},
        {"<n:true xmlns:n=\"urn:nv\"/>", 0},
        {"<true xmlns=\"urn:nv\"/>", 1},
        {"<?xml version=\"1.0\"?><!-- c --><true/>", 1},
        {"<xor><true/><true/><true/></xor>", 1},
        {"<xor><true/><true/></xor>", 0},
        {"<and><true/><false/><true/></and>", 0},
        {"<or><false/><true/></or>", 1},
        // Only element children count; leaves ignore what they contain.
        {"<if>text<!-- c --><?pi x?><true/></if>", 1},
        {"<not>text<true/></not>", 0},
        {"<true><false/></true>", 1},
        {Os("version=\"WIN10\""), 1},
        {Os("version=\"win12\""), 0},
        {Os("from=\"win7\""), 0},
        {Os("to=\"Win10\""), 1},
        {Os("to=\"win8\""), 0},
        {Os("from=\"winnt\" to=\"2.10.0\""), 1},
        {Os("version=\"\" from=\"win7\" to=\"win10\""), 1},
        {Os("version=\"win7\" from=\"win7\" to=\"win11\""), 0},
        // The product version 2.5 counts, not the file version 3.0.
        {Product("version=\"2.5\""), 1},
        {Product("from=\"2.0\" to=\"2.5.0.0\""), 1},
        {Product("from=\"2.5.0.1\" to=\"9\""), 0},
        {Product("version=\"2.5\"", "", "Module"), 1},
        {Product("version=\"65535.7.19041.3\"", "verfix_all_parts.dll"), 1},
        {Product("version=\"0\"", "verfix_unversioned.dll"), 1},
        {Product("version=\"0\"", "app.exe", "Long"), 1},
        {Product("version=\"0\"", "x.dll", "Absent"), 0},
        // The attribute is cut to 1023 bytes: the revision's last digit is lost.
        {Product("version=\"2.5.0." + std::string(1017, '0') + "1\""), 1},
        {RegEntry("Edition", "Profi"), 1},
        {RegEntry("Edition", "profi"), 0},
        {RegEntry("Edition", ""), 0},
        {RegEntry("Absent", "Profi"), 0},
        {RegEntry("Truth", "1"), 1},
        {RegEntry("Full", std::string(1023, 'a') + "bbbb"), 1},
        {RegEntry("Huge", std::string(1500, 'a')), 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, Norvane::News::CheckConstraint(row.xml.c_str()))
            << row.xml.substr(0, 200);
}

// `xml` with `count` elements named like the one marked `grow` nested below it around <true/>.
CNvXmlNode Grown(const std::string& xml, int count)
{
    CoInitialize(nullptr);
    CNvXmlDocument document;
    document.LoadXml(xml);
    CNvXmlNode node = document.SelectSingleNode("//*[@grow]");
    const std::string name = node.GetNodeName();
    for (int level = 0; level < count; ++level)
        node = node.AddChild(name.c_str(), nullptr);
    node.AddChild("true", nullptr);
    return document.SelectSingleNode(".");
}

// A child beyond the bound fails the whole evaluation, once it is evaluated.
TEST(ConstraintLanguage, DepthBoundAndTheChildrenEachOperatorEvaluates)
{
    const int bound = nv::kMaxConstraintDepth;
    const struct {
        const char *name, *xml;
        int count;
        bool expected;
    } rows[] = {
        {"and at the bound", "<and grow=''/>", bound - 2, true},
        {"and one beyond", "<and grow=''/>", bound - 1, false},
        {"even not chain beyond", "<not grow=''/>", bound + 43, false},
        {"deep child alone fails", "<not><if><and grow=''/></if></not>", bound, false},
        {"and stops at false", "<not><and><false/><and grow=''/></and></not>", bound, true},
        {"or stops at true", "<or><true/><and grow=''/></or>", bound, true},
        {"if ignores later children", "<if><true/><and grow=''/></if>", bound, true},
        {"not ignores later children", "<not><false/><and grow=''/></not>", bound, true},
        {"xor evaluates every child", "<not><xor><true/><and grow=''/></xor></not>", bound, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, nv::Evaluate(Grown(row.xml, row.count))) << row.name;
}

} // namespace
