// Registry path values and key paths against the test prefix's registry.
#include "frame/registry_path.h"
#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const char kKey[] = "Software\\NvinfoRegistryPathTest\\A";
const char kWords[] = "Software\\NvinfoRegistryPathTest\\Words";
const char kData[] = "Software\\NvinfoRegistryPathTest\\Data";

class RegistryPathValue : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_registry.SetString(HKEY_CURRENT_USER, kKey, "B", "cu-b");
        m_registry.SetString(HKEY_CURRENT_USER, kKey, "", "cu-default");
        m_registry.SetString(HKEY_CURRENT_USER, kKey, "Empty", "");
        m_registry.SetString(HKEY_LOCAL_MACHINE, kKey, "B", "lm-b");
        m_registry.SetString(HKEY_LOCAL_MACHINE, kKey, "", "lm-default");
        m_registry.SetString(HKEY_CLASSES_ROOT, "NvinfoRegistryPathTest\\A", "B", "cr-b");
        m_registry.SetString(HKEY_CURRENT_USER, "NvinfoRegistryPathFlag", "", "flag");
        // Where a lower-case root ends up: as part of a key path under HKCU.
        m_registry.SetString(HKEY_CURRENT_USER, std::string("hklm\\") + kKey, "B", "cu-hklm-b");

        const std::pair<const char*, const char*> words[] = {
            {"wahr", "Wahr"}, {"ja", "JA"}, {"true", "TRUE"}, {"nein", "Nein"},
            {"false", "FALSE"}, {"falsch", "falsch"}, {"blankJa", " ja"}, {"jawohl", "jawohl"}};
        for (const auto& word : words)
            m_registry.SetString(HKEY_CURRENT_USER, kWords, word.first, word.second);

        m_registry.SetBinary(HKEY_CURRENT_USER, kData, "bin1024", std::vector<BYTE>(1024, 'b'));
        m_registry.SetBinary(HKEY_CURRENT_USER, kData, "bin1025", std::vector<BYTE>(1025, 'b'));
        m_registry.SetString(HKEY_CURRENT_USER, kData, "sz1023", std::string(1023, 's'));
        m_registry.SetString(HKEY_CURRENT_USER, kData, "sz1024", std::string(1024, 's'));
        m_registry.SetBinary(HKEY_CURRENT_USER, kData, "zeroInside", {'a', 'b', 0, 'c', 'd'});
        m_registry.SetBinary(HKEY_CURRENT_USER, kData, "noBytes", {});
        m_registry.SetDword(HKEY_CURRENT_USER, kData, "dword", 0x00636261);
        m_registry.SetString(HKEY_CURRENT_USER, kData, "expand", "%WINDIR%\\x", REG_EXPAND_SZ);
        m_registry.SetBinary(HKEY_CURRENT_USER, kData, "multi", {'a', 0, 'b', 0, 0}, REG_MULTI_SZ);
        m_registry.SetString(HKEY_CURRENT_USER, kData, "umlaut", "Gr\xFC\xDF" "e");
    }

    RegistrySandbox m_registry;
};

struct PathRow {
    const char* name;
    std::string path;
    const char* defaultValue;
    std::string expected;
};

void ExpectRows(const std::vector<PathRow>& rows)
{
    for (const PathRow& row : rows)
        EXPECT_EQ(row.expected, ReadRegistryPathValue(row.path, row.defaultValue))
            << row.name << ": " << row.path;
}

TEST_F(RegistryPathValue, RootsAndValueNames)
{
    const std::string key = kKey;
    ExpectRows({
        {"HKCU marker", "HKCU\\" + key + "\\B", "d", "cu-b"},
        {"no marker means HKCU", key + "\\B", "d", "cu-b"},
        {"HKLM marker", "HKLM\\" + key + "\\B", "d", "lm-b"},
        {"long HKLM marker", "HKEY_LOCAL_MACHINE\\" + key + "\\B", "d", "lm-b"},
        {"HKCR marker", "HKCR\\NvinfoRegistryPathTest\\A\\B", "d", "cr-b"},
        {"later marker wins", "HKCU\\HKLM\\" + key + "\\B", "d", "lm-b"},
        {"marker inside the path", "Software\\HKLM\\NvinfoRegistryPathTest\\A\\B", "d", "lm-b"},
        {"marker removed everywhere", "HKLM\\Software\\HKLM\\NvinfoRegistryPathTest\\A\\B", "d", "lm-b"},
        {"(Standard) is the default value", "HKCU\\" + key + "\\(Standard)", "d", "cu-default"},
        {"(standard) is a value name", "HKCU\\" + key + "\\(standard)", "d", "d"},
        {"trailing backslash", "HKLM\\" + key + "\\", "d", "lm-default"},
        {"key without value name", "HKCU\\NvinfoRegistryPathFlag", "d", "flag"},
        {"lower-case root is key path", "hklm\\" + key + "\\B", "d", "cu-hklm-b"},
        {"HKEY_CURRENT_USER is no marker", "HKEY_CURRENT_USER\\" + key + "\\B", "d", "d"},
        {"HKCC is no marker", "HKCC\\" + key + "\\B", "d", "d"},
    });
}

TEST_F(RegistryPathValue, MissingPlacesGiveTheDefaultUnchanged)
{
    const std::string key = kKey;
    ExpectRows({
        {"missing key", "HKCU\\Software\\NvinfoRegistryPathTest\\Missing\\B", "d", "d"},
        {"missing value", "HKCU\\" + key + "\\Missing", "fallback", "fallback"},
        {"default is not normalised", "HKCU\\" + key + "\\Missing", "ja", "ja"},
        {"empty default", "HKCU\\" + key + "\\Missing", "", ""},
        {"empty data is not missing", "HKCU\\" + key + "\\Empty", "d", ""},
        {"no data bytes", std::string("HKCU\\") + kData + "\\noBytes", "d", ""},
    });
}

TEST_F(RegistryPathValue, YesNoWords)
{
    const std::string key = std::string("HKCU\\") + kWords + "\\";
    ExpectRows({
        {"Wahr", key + "wahr", "d", "1"},
        {"JA", key + "ja", "d", "1"},
        {"TRUE", key + "true", "d", "1"},
        {"Nein", key + "nein", "d", "0"},
        {"FALSE", key + "false", "d", "0"},
        {"falsch", key + "falsch", "d", "0"},
        {"leading blank is not trimmed", key + "blankJa", "d", " ja"},
        {"other words unchanged", key + "jawohl", "d", "jawohl"},
    });
}

TEST_F(RegistryPathValue, DataOfAnyTypeUpTo1024Bytes)
{
    const std::string key = std::string("HKCU\\") + kData + "\\";
    ExpectRows({
        {"1024 binary bytes", key + "bin1024", "d", std::string(1024, 'b')},
        {"1025 binary bytes", key + "bin1025", "d", "d"},
        {"1023 characters and zero", key + "sz1023", "d", std::string(1023, 's')},
        {"1024 characters and zero", key + "sz1024", "d", "d"},
        {"text ends at first zero", key + "zeroInside", "d", "ab"},
        {"DWORD bytes as text", key + "dword", "d", "abc"},
        {"references not expanded", key + "expand", "d", "%WINDIR%\\x"},
        {"first string of a list", key + "multi", "d", "a"},
        {"system code page", key + "umlaut", "d", "Gr\xFC\xDF" "e"},
    });
}

TEST(RegistryKeyPath, RootTokensAndKeyPaths)
{
    RegistrySandbox registry;
    registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\NvinfoKeyPathTest\\OnlyLM");
    registry.CreateKey(HKEY_CURRENT_USER, "Software\\NvinfoKeyPathTest\\OnlyCU");
    registry.CreateKey(HKEY_CURRENT_CONFIG, "Software\\NvinfoKeyPathTest\\OnlyCC");
    registry.CreateKey(HKEY_CLASSES_ROOT, "NvinfoKeyPathTest\\OnlyCR");
    registry.CreateKey(HKEY_LOCAL_MACHINE, "NvinfoKeyPathTop");

    const std::pair<const char*, bool> rows[] = {
        {"HKLM\\Software\\NvinfoKeyPathTest\\OnlyLM", true},
        {"HKLM\\Software\\NvinfoKeyPathTest\\OnlyCU", false},
        {"HKCU\\Software\\NvinfoKeyPathTest\\OnlyCU", true},
        {"HKCU\\Software\\NvinfoKeyPathTest\\OnlyLM", false},
        {"HKCC\\Software\\NvinfoKeyPathTest\\OnlyCC", true},
        {"HKCC\\Software\\NvinfoKeyPathTest\\OnlyLM", false},
        {"HKCR\\NvinfoKeyPathTest\\OnlyCR", true},
        {"HKLM\\Software\\NvinfoKeyPathTest\\Missing", false},
        // An unknown first component selects HKLM and is dropped.
        {"SOFTWARE\\NvinfoKeyPathTop", true},
        {"hkcu\\Software\\NvinfoKeyPathTest\\OnlyCU", false},
        {"hkcu\\Software\\NvinfoKeyPathTest\\OnlyLM", true},
        // Without a backslash the whole text is a key under HKLM.
        {"NvinfoKeyPathTop", true},
        {"SOFTWARE", true},
        {"NvinfoKeyPathMissing", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, RegistryKeyPathExists(row.first)) << row.first;
}

} // namespace
