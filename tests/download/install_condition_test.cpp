// Installation conditions against real registry values, the module's profile,
// files, folders and version resources. "$" in a row stands for the test key.
#include "download/install_condition.h"

#include "harness/module_paths.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kConditionKey = "Software\\NvinfoConditionTest";

class InstallConditionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_registry.CreateKey(HKEY_LOCAL_MACHINE, kConditionKey);
        m_registry.CreateKey(HKEY_LOCAL_MACHINE, std::string(kConditionKey) + "\\Sub");
        const std::pair<const char*, std::string> values[] = {
            {"PathV15", OutputFile("dlfix_v1_5.dll")}, {"PathV21", OutputFile("dlfix_v2_1.dll")},
            {"PathV10", OutputFile("dlfix_v10_build.dll")},
            {"PathPlain", m_folder.Write("plain.txt", "no version here")},
            {"Folder", m_folder.Path()}, {"BinFolder", OutputFolder() + "\\"},
            {"Missing", m_folder.File("missing.dll")}, {"Ver", "1.5"}, {"Text", "abc"},
            {"Fits", std::string(1022, 'f')}, {"TooLong", std::string(1023, 't')}};
        for (const auto& value : values)
            m_registry.SetString(HKEY_LOCAL_MACHINE, kConditionKey, value.first, value.second);
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        m_profile = std::string(windows) + "\\nvinfo.INI";
        m_profileExisted = FileExists(m_profile);
        WritePrivateProfileStringA("NvCondTest", "Key", "yes", m_profile.c_str());
    }

    void TearDown() override
    {
        WritePrivateProfileStringA("NvCondTest", nullptr, nullptr, m_profile.c_str());
        if (!m_profileExisted)
            DeleteFileA(m_profile.c_str());
    }

    RegistrySandbox m_registry;
    TempFolder m_folder;
    std::string m_profile;
    bool m_profileExisted = false;
};

TEST_F(InstallConditionTest, EvaluatesEveryTermTypeAndItsNegation)
{
    const struct {
        const char* name;
        std::string condition;
        int expected;
    } rows[] = {
        {"empty holds", "", 1}, {"six characters hold", "/FX", 1}, {"unreadable path", "/FHKLM\\A", 0},
        {"F within range", "/F$PathV15#2.0.0.0#1.0.0.0", 1},
        {"F bounds are inclusive", "/F$PathV15#1.5.0.0#1.5.0.0", 1},
        {"F above highest", "/F$PathV21#2.0.0.0#1.0.0.0", 0},
        {"F below lowest", "/F$PathV15##1.6.0.0", 0},
        {"F major part from 64 up", "/F$PathV15##64.0.0.0", 0},
        {"F without version resource", "/F$PathPlain#2.0.0.0#1.0.0.0", 1},
        {"F three numbers not comparable", "/F$PathV21#2.0.0", 1},
        {"F text not comparable", "/F$PathV21#x", 1}, {"F missing file", "/F$Missing", 0},
        {"F folder counts", "/F$Folder", 1}, {"F negated", "!/F$Missing", 1},
        {"F large build numbers compare by part", "/F$PathV10#10.0.20000.0", 1},
        {"F large build above highest", "/F$PathV10#10.0.19040.9", 0},
        {"D folder alone", "/D$BinFolder", 1}, {"D missing file", "/D$BinFolder#nothere.dll", 0},
        {"D file in range", "/D$BinFolder#dlfix_v1_5.dll#2.0.0.0#1.0.0.0", 1},
        {"D file above highest", "/D$BinFolder#dlfix_v1_5.dll#1.4.0.0", 0},
        {"D value names a file", "/D$PathV15", 0}, {"D negated", "!/D$PathV15", 1},
        {"R readable", "/R$Text", 1}, {"R compare any case", "/R$Text;/SABC", 1},
        {"R takes -S", "/R$Text;-Sabd", 0},
        {"R takes _S", "/R$Text;_Sabc", 1}, {"R takes only the next /S", "/R$Text;/Sabc;/Sabd", 1},
        {"negated /S is no comparison", "/R$Text;!/Sabd", 1},
        {"/S after E is skipped", "/E$Text;/Sabd", 1},
        {"R negated without compare not inverted", "!/R$Text", 1},
        {"R negated compare", "!/R$Text;/SABC", 0}, {"R unreadable", "/R$Nope", 0},
        {"R value of 1023 bytes", "/R$Fits;/S" + std::string(1022, 'f'), 1},
        {"R value of 1024 bytes unreadable", "/R$TooLong", 0},
        {"R profile key", "/RINI\\NVCONDTEST\\KEY;/SYES", 1},
        {"R profile key missing", "/RINI\\NVCONDTEST\\OTHER", 0},
        {"V in range", "/V$Ver#2.0#1.0", 1}, {"V fields after the fourth ignored", "/V$Ver#2.0#1.0#9#9", 1},
        {"V above highest", "/V$Ver#1.4", 0}, {"V below lowest", "/V$Ver##1.6", 0},
        {"E readable", "/E$Text", 1}, {"E falls back to the key", "/E$SUB", 1},
        {"E key negated", "!/E$SUB", 0}, {"E nothing there", "/E$NOSUCH", 0},
        {"marker -", "-E$NOSUCH", 0}, {"marker _", "_E$NOSUCH", 0},
        {"all terms must hold", "/E$Text;/V$Ver#1.4;/E$Text", 0},
        {"unreadable later term fails all", "!/E$NOSUCH;/RHKLM\\NOPE\\X", 0},
        {"unknown letter skipped", "/XJUNK;/E$Text", 1}, {"unknown marker skipped", "+E$NOSUCH", 1},
        {"blank before marker skipped", " /E$NOSUCH", 1},
        {"double negation skipped", "!!/E$NOSUCH", 1}, {"empty token ends", "/E$Text;;/R$Nope", 1},
        {"only separators", ";;;;;;;;;;", 1}, {"missing operands", "/R;/V;/F", 0},
        {"lower-case text", "/rhklm\\software\\nvinfoconditiontest\\text;/sAbC", 1},
        {"very long path", "/RHKLM\\" + std::string(100000, 'A'), 0},
        {"very long comparison", "/R$Text;/S" + std::string(100000, 'A'), 0},
    };
    const std::string values = "HKLM\\SOFTWARE\\NVINFOCONDITIONTEST\\";
    for (const auto& row : rows) {
        std::string condition = row.condition;
        for (size_t at = condition.find('$'); at != std::string::npos; at = condition.find('$'))
            condition.replace(at, 1, values);
        EXPECT_EQ(row.expected, nv::IsInstalliert(condition)) << row.name;
    }
}

} // namespace
