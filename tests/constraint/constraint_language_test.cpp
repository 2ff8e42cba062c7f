// The constraint language through the CheckConstraint core, one row per
// element case, against the registry of the test prefix (Windows 10 build
// 19045, registry texts) and the product versions of the fixture modules.
#include "constraint/constraint_api.h"
#include "harness/module_paths.h"
#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kTestKey[] = "Software\\Norvane\\ConstraintTest";
const std::string kTestPath = "HKCU\\Software\\Norvane\\ConstraintTest\\";

std::string Os(const std::string& attributes)
{
    return "<osversion " + attributes + "/>";
}

std::string Product(const std::string& attributes,
                    const char* append = "verfix_product_differs.dll", const char* value = "Folder")
{
    return "<product regKey=\"" + kTestPath + value + "\" append=\"" + append + "\" " + attributes
           + "/>";
}

std::string RegEntry(const char* value, const std::string& text)
{
    return "<regEntry regKey=\"" + kTestPath + value + "\" value=\"" + text + "\"/>";
}

TEST(ConstraintLanguage, EachElementGivesItsResult)
{
    RegistrySandbox sandbox;
    const char currentVersion[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
    sandbox.SetDword(HKEY_LOCAL_MACHINE, currentVersion, "CurrentMajorVersionNumber", 10);
    sandbox.SetDword(HKEY_LOCAL_MACHINE, currentVersion, "CurrentMinorVersionNumber", 0);
    sandbox.SetString(HKEY_LOCAL_MACHINE, currentVersion, "CurrentBuild", "19045");
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Folder", OutputFolder());
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Module",
                      OutputFile("verfix_product_differs.dll"));
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Long", std::string(400, 'x'));
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Edition", "Profi");
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Truth", "wahr");
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Full", std::string(1023, 'a'));
    sandbox.SetString(HKEY_CURRENT_USER, kTestKey, "Huge", std::string(1500, 'a'));
    const struct { std::string xml; long expected; } rows[] = {
        {"<true/>", 1}, {"<false/>", 0}, {"<and/>", 1}, {"<or/>", 0}, {"<xor/>", 0},
        {"<not/>", 0}, {"<if/>", 0}, {"<datacompare a=\"1\"><false/></datacompare>", 1},
        // Names are compared exactly, prefix included; a default namespace does not matter.
        {"<whatever/>", 0}, {"<True/>", 0}, {"<n:true xmlns:n=\"urn:nv\"/>", 0},
        {"<true xmlns=\"urn:nv\"/>", 1}, {"<?xml version=\"1.0\"?><!-- c --><true/>", 1},
        {"<xor><true/><true/><true/></xor>", 1}, {"<xor><true/><true/></xor>", 0},
        {"<if><true/><false/></if>", 1}, {"<not><false/><true/></not>", 1},
        {"<and><true/><false/><true/></and>", 0}, {"<or><false/><true/></or>", 1},
        {"<or><and><true/><not><false/></not></and><false/></or>", 1},
        {"<and><unknown><true/></unknown></and>", 0},
        // Only element children count; leaves ignore what they contain.
        {"<and>text<!-- c --><?pi x?><false/></and>", 0}, {"<if>just text</if>", 0},
        {"<true><false/></true>", 1},
        {Os("version=\"WIN10\""), 1}, {Os("version=\"2.10\""), 1}, {Os("version=\"win7\""), 0},
        {Os("version=\"2.10.0.1\""), 0}, {Os("version=\"win12\""), 0}, {Os(""), 0},
        {Os("from=\"win7\" to=\"win11\""), 1}, {Os("from=\"win7\""), 0},
        {Os("to=\"Win10\""), 1}, {Os("to=\"win8\""), 0}, {Os("from=\"winnt\" to=\"2.10.0\""), 1},
        {Os("version=\"\" from=\"win7\" to=\"win10\""), 1},
        {Os("version=\"win7\" from=\"win7\" to=\"win11\""), 0},
        // The product version 2.5 counts, not the file version 3.0.
        {Product("version=\"2.5\""), 1}, {Product("version=\"3.0\""), 0},
        {Product("from=\"2.0\" to=\"2.5.0.0\""), 1}, {Product("from=\"2.5.0.1\" to=\"9\""), 0},
        {Product("from=\"2.0\""), 0}, {Product("to=\"2.5\""), 1},
        {Product("version=\"2.5\"", "", "Module"), 1},
        {Product("version=\"65535.7.19041.3\"", "verfix_all_parts.dll"), 1},
        {Product("version=\"0\"", "verfix_unversioned.dll"), 1},
        {Product("version=\"0.0.0.0\"", "not-installed.exe"), 1},
        {Product("from=\"1\"", "not-installed.exe"), 0},
        {Product("version=\"0\"", "app.exe", "Long"), 1},
        {Product("version=\"0\"", "x.dll", "Absent"), 0},
        {Product("version=\"0\"", "x.dll", "Huge"), 0},
        // The attribute is cut to 1023 bytes: the revision's last digit is lost.
        {Product("version=\"2.5.0." + std::string(1017, '0') + "1\""), 1},
        {"<product append=\"x.dll\" version=\"0\"/>", 0},
        {RegEntry("Edition", "Profi"), 1}, {RegEntry("Edition", "profi"), 0},
        {RegEntry("Edition", ""), 0}, {RegEntry("Absent", "Profi"), 0},
        {RegEntry("Truth", "1"), 1}, {RegEntry("Truth", "wahr"), 0},
        {RegEntry("Full", std::string(1023, 'a') + "bbbb"), 1},
        {RegEntry("Huge", std::string(1500, 'a')), 0},
        {"<regEntry regKey=\"" + kTestPath + std::string(100000, 'k') + "\" value=\"k\"/>", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, Norvane::News::CheckConstraint(row.xml.c_str()))
            << row.xml.substr(0, 200);
}

} // namespace
