// Registry path values and key paths against the test prefix's registry; the host's family.
#include "frame/platform.h"
#include "frame/registry_path.h"
#include "harness/registry_sandbox.h"
#include <gtest/gtest.h>
#include <vector>

#define KEY "Software\\NvinfoRegistryPathTest\\A"
#define DATA "Software\\NvinfoRegistryPathTest\\Data"
#define KEYS "\\Software\\NvinfoKeyPathTest\\"

TEST(RegistryPathValue, RootsValueNamesWordsAndData)
{
    RegistrySandbox reg;
    const HKEY cu = HKEY_CURRENT_USER, lm = HKEY_LOCAL_MACHINE;
    reg.Set(cu, KEY, "B", "cu-b");
    reg.Set(cu, KEY, "", "cu-default");
    reg.Set(cu, KEY, "Empty", "");
    reg.Set(lm, KEY, "B", "lm-b");
    reg.Set(lm, KEY, "", "lm-default");
    reg.Set(HKEY_CLASSES_ROOT, "NvinfoRegistryPathTest\\A", "B", "cr-b");
    reg.Set(cu, "NvinfoRegistryPathFlag", "", "flag");
    reg.Set(cu, "hklm\\" KEY, "B", "cu-hklm-b");
    for (const char* word : {"JA", "falsch", " ja", "jawohl"})
        reg.Set(cu, DATA, std::string("w") + word, word);
    reg.Set(cu, DATA, "bin1024", std::string(1024, 'b'), REG_BINARY);
    reg.Set(cu, DATA, "bin1025", std::string(1025, 'b'), REG_BINARY);
    reg.Set(cu, DATA, "zeroInside", std::string("ab\0cd", 5), REG_BINARY);
    reg.Set(cu, DATA, "expand", "%WINDIR%\\x", REG_EXPAND_SZ);
    const struct {
        const char *name, *path, *defaultValue;
        std::string expected;
    } rows[] = {
        {"no marker means HKCU", KEY "\\B", "d", "cu-b"},
        {"HKLM marker", "HKLM\\" KEY "\\B", "d", "lm-b"},
        {"long HKLM marker", "HKEY_LOCAL_MACHINE\\" KEY "\\B", "d", "lm-b"},
        {"HKCR marker", "HKCR\\NvinfoRegistryPathTest\\A\\B", "d", "cr-b"},
        {"later marker wins", "HKCU\\HKLM\\" KEY "\\B", "d", "lm-b"},
        {"marker inside the path", "Software\\HKLM\\NvinfoRegistryPathTest\\A\\B", "d", "lm-b"},
        {"(Standard) is the default value", "HKCU\\" KEY "\\(Standard)", "d", "cu-default"},
        {"trailing backslash", "HKLM\\" KEY "\\", "d", "lm-default"},
        {"key without value name", "HKCU\\NvinfoRegistryPathFlag", "d", "flag"},
        {"lower-case root is key path", "hklm\\" KEY "\\B", "d", "cu-hklm-b"},
        {"default is not normalised", "HKCU\\" KEY "\\Missing", "ja", "ja"},
        {"empty data is not missing", "HKCU\\" KEY "\\Empty", "d", ""},
        {"yes word in any case", DATA "\\wJA", "d", "1"},
        {"no word", DATA "\\wfalsch", "d", "0"},
        {"leading blank is not trimmed", DATA "\\w ja", "d", " ja"},
        {"other words unchanged", DATA "\\wjawohl", "d", "jawohl"},
        {"1024 binary bytes", DATA "\\bin1024", "d", std::string(1024, 'b')},
        {"1025 binary bytes", DATA "\\bin1025", "d", "d"},
        {"text ends at first zero", DATA "\\zeroInside", "d", "ab"},
        {"references not expanded", DATA "\\expand", "d", "%WINDIR%\\x"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, nv::ReadRegistryPathValue(row.path, row.defaultValue))
            << row.name << ": " << row.path;
}

TEST(RegistryKeyPath, RootTokensAndKeyPaths)
{
    RegistrySandbox reg;
    reg.CreateKey(HKEY_LOCAL_MACHINE, "Software\\NvinfoKeyPathTest\\OnlyLM");
    reg.CreateKey(HKEY_CURRENT_USER, "Software\\NvinfoKeyPathTest\\OnlyCU");
    reg.CreateKey(HKEY_CURRENT_CONFIG, "Software\\NvinfoKeyPathTest\\OnlyCC");
    reg.CreateKey(HKEY_CLASSES_ROOT, "NvinfoKeyPathTest\\OnlyCR");
    reg.CreateKey(HKEY_LOCAL_MACHINE, "NvinfoKeyPathTop");
    const std::pair<const char*, bool> rows[] = {
        {"HKCU" KEYS "OnlyCU", true},
        {"HKCC" KEYS "OnlyCC", true},
        {"HKCR\\NvinfoKeyPathTest\\OnlyCR", true},
        // Root tokens are upper case: an unknown first component selects HKLM and is dropped;
        // without a backslash the whole text is a key under HKLM.
        {"hkcu" KEYS "OnlyCU", false},
        {"hkcu" KEYS "OnlyLM", true},
        {"NvinfoKeyPathTop", true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, nv::RegistryKeyPathExists(row.first)) << row.first;
}

TEST(Platform, WineReportsTheNtFamily) { EXPECT_TRUE(nv::IsNtPlatform); }
