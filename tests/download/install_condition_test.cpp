// Installation conditions against real registry values, files, folders and
// version resources.
#include "download/install_condition.h"

#include "harness/module_paths.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kConditionKey = "Software\\NvinfoConditionTest";
const std::string kValues = "HKLM\\SOFTWARE\\NVINFOCONDITIONTEST\\";

class InstallConditionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_registry.CreateKey(HKEY_LOCAL_MACHINE, kConditionKey);
        Set("PathV15", OutputFile("dlfix_v1_5.dll"));
        Set("PathV21", OutputFile("dlfix_v2_1.dll"));
        Set("PathV10", OutputFile("dlfix_v10_build.dll"));
        Set("PathPlain", m_folder.Write("plain.txt", "no version here"));
        Set("Folder", m_folder.Path());
        Set("BinFolder", OutputFolder() + "\\");
        Set("Missing", m_folder.File("missing.dll"));
        Set("Ver", "1.5");
        Set("Text", "abc");
        m_registry.CreateKey(HKEY_LOCAL_MACHINE, std::string(kConditionKey) + "\\Sub");
    }

    void Set(const char* name, const std::string& value)
    {
        m_registry.SetString(HKEY_LOCAL_MACHINE, kConditionKey, name, value);
    }

    RegistrySandbox m_registry;
    TempFolder m_folder;
};

struct ConditionRow {
    const char* name;
    std::string condition;
    int expected;
};

TEST_F(InstallConditionTest, EvaluatesEveryTermTypeAndItsNegation)
{
    const std::vector<ConditionRow> rows = {
        {"empty holds", "", 1},
        {"six characters hold", "/FX", 1},
        {"unreadable path fails", "/FHKLM\\A", 0},
        {"F within range", "/F" + kValues + "PathV15#2.0.0.0#1.0.0.0", 1},
        {"F above highest", "/F" + kValues + "PathV21#2.0.0.0#1.0.0.0", 0},
        {"F below lowest", "/F" + kValues + "PathV15##1.6.0.0", 0},
        {"F without version resource", "/F" + kValues + "PathPlain#2.0.0.0#1.0.0.0", 1},
        {"F three numbers not comparable", "/F" + kValues + "PathV21#2.0.0", 1},
        {"F missing file", "/F" + kValues + "Missing", 0},
        {"F folder counts", "/F" + kValues + "Folder", 1},
        {"F negated", "!/F" + kValues + "Missing", 1},
        {"F large build numbers compare by part", "/F" + kValues + "PathV10#10.0.20000.0", 1},
        {"F large build above highest", "/F" + kValues + "PathV10#10.0.19040.9", 0},
        {"D folder alone", "/D" + kValues + "BinFolder", 1},
        {"D file in range", "/D" + kValues + "BinFolder#dlfix_v1_5.dll#2.0.0.0#1.0.0.0", 1},
        {"D file above highest", "/D" + kValues + "BinFolder#dlfix_v1_5.dll#1.4.0.0", 0},
        {"D file below lowest", "/D" + kValues + "BinFolder#dlfix_v1_5.dll##1.6.0.0", 0},
        {"D missing file", "/D" + kValues + "BinFolder#nothere.dll", 0},
        {"D value names a file", "/D" + kValues + "PathV15", 0},
        {"D negated", "!/D" + kValues + "PathV15", 1},
        {"R readable", "/R" + kValues + "Text", 1},
        {"R compare any case", "/R" + kValues + "Text;/SABC", 1},
        {"R compare other text", "/R" + kValues + "Text;/Sabd", 0},
        {"R negated without compare not inverted", "!/R" + kValues + "Text", 1},
        {"R negated compare", "!/R" + kValues + "Text;/SABC", 0},
        {"R unreadable", "/R" + kValues + "Nope", 0},
        {"R unreadable negated still fails", "!/R" + kValues + "Nope", 0},
        {"V in range", "/V" + kValues + "Ver#2.0#1.0", 1},
        {"V above highest", "/V" + kValues + "Ver#1.4", 0},
        {"V below lowest", "/V" + kValues + "Ver##1.6", 0},
        {"V negated", "!/V" + kValues + "Ver#1.4", 1},
        {"E readable", "/E" + kValues + "Text", 1},
        {"E falls back to the key", "/E" + kValues + "SUB", 1},
        {"E key negated", "!/E" + kValues + "SUB", 0},
        {"E nothing there", "/E" + kValues + "NOSUCH", 0},
        {"E nothing there negated", "!/E" + kValues + "NOSUCH", 1},
        {"all terms must hold", "/E" + kValues + "Text;/V" + kValues + "Ver#1.4;/E" + kValues + "Text", 0},
        {"unreadable later term fails all", "!/E" + kValues + "NOSUCH;/RHKLM\\NOPE\\X", 0},
        {"unknown letters skipped", "/XJUNK;/E" + kValues + "Text", 1},
        {"empty token ends", "/E" + kValues + "Text;;/R" + kValues + "Nope", 1},
        {"only separators", ";;;;;;;;;;", 1},
        {"missing operands", "/R;/V;/F", 0},
        {"lower-case text", "/r" + std::string("hklm\\software\\nvinfoconditiontest\\text;/sAbC"), 1},
        {"very long path", "/RHKLM\\" + std::string(100000, 'A'), 0},
        {"very long comparison", "/R" + kValues + "Text;/S" + std::string(100000, 'A'), 0},
    };
    for (const ConditionRow& row : rows)
        EXPECT_EQ(row.expected, nv::IsInstalliert(row.condition)) << row.name;
}

TEST_F(InstallConditionTest, IniPathsReadTheModulesProfileInTheWindowsFolder)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string profile = std::string(windows) + "\\nvinfo.INI";
    const bool existed = FileExists(profile);
    WritePrivateProfileStringA("NvCondTest", "Key", "yes", profile.c_str());
    EXPECT_EQ(1, nv::IsInstalliert("/RINI\\NVCONDTEST\\KEY;/SYES"));
    EXPECT_EQ(0, nv::IsInstalliert("/RINI\\NVCONDTEST\\KEY;/SNO"));
    EXPECT_EQ(0, nv::IsInstalliert("/RINI\\NVCONDTEST\\OTHER"));
    WritePrivateProfileStringA("NvCondTest", nullptr, nullptr, profile.c_str());
    if (!existed)
        DeleteFileA(profile.c_str());
}

TEST_F(InstallConditionTest, FileVersionComparisonNeedsFourNumbersAndAResource)
{
    int difference = 99;
    const std::string v15 = OutputFile("dlfix_v1_5.dll");
    EXPECT_TRUE(nv::CompareFileVersion(v15, "1.5.0.0", &difference));
    EXPECT_EQ(0, difference);
    EXPECT_TRUE(nv::CompareFileVersion(v15, "1.4.9.9", &difference));
    EXPECT_LT(difference, 0);
    EXPECT_TRUE(nv::CompareFileVersion(v15, "64.0.0.0", &difference));
    EXPECT_GT(difference, 0) << "major parts from 64 up stay greater";
    EXPECT_FALSE(nv::CompareFileVersion(v15, "1.5.0", &difference));
    EXPECT_FALSE(nv::CompareFileVersion(v15, "x", &difference));
    EXPECT_FALSE(nv::CompareFileVersion(m_folder.Write("p.txt", "x"), "1.0.0.0", &difference));
}

} // namespace
