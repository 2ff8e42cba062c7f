// Installation conditions against real registry values, the module's profile,
// files, folders and version resources. "$" in a row stands for the test key.
#include "download/install_condition.h"
#include "harness/module_paths.h"
#include "harness/placed_file.h"
#include "harness/registry_sandbox.h"
#include "ndc_fixture.h"

#include <gtest/gtest.h>

TEST(InstallCondition, EvaluatesEveryTermTypeAndItsNegation)
{
    const char* const key = "Software\\NvinfoConditionTest";
    RegistrySandbox registry;
    TempFolder folder;
    registry.CreateKey(HKEY_LOCAL_MACHINE, std::string(key) + "\\Sub");
    const std::pair<const char*, std::string> values[] = {
        {"PathV15", OutputFile("dlfix_v1_5.dll")},
        {"PathV21", OutputFile("dlfix_v2_1.dll")},
        {"PathV10", OutputFile("dlfix_v10_build.dll")},
        {"PathPlain", folder.Write("plain.txt", "no version here")},
        {"Folder", folder.Path()},
        {"BinFolder", OutputFolder() + "\\"},
        {"Missing", folder.File("missing.dll")},
        {"Ver", "1.5"},
        {"Text", "abc"},
        {"Fits", std::string(1022, 'f')},
        {"TooLong", std::string(1023, 't')}};
    for (const auto& value : values)
        registry.Set(HKEY_LOCAL_MACHINE, key, value.first, value.second);
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const PlacedFile profile(std::string(windows) + "\\nvinfo.INI");
    WritePrivateProfileStringA("NvCondTest", "Key", "yes", profile.Path().c_str());
    const struct {
        const char* name;
        std::string condition;
        int expected;
    } rows[] = {
        {"six characters hold", "/FX", 1},
        {"F major part from 64 up", "/F$PathV15##64.0.0.0", 0},
        {"F without version resource", "/F$PathPlain#2.0.0.0#1.0.0.0", 1},
        {"F three numbers not comparable", "/F$PathV21#2.0.0", 1},
        {"F missing file", "/F$Missing", 0},
        {"F folder counts", "/F$Folder", 1},
        {"F negated", "!/F$Missing", 1},
        {"F large builds by part", "/F$PathV10#10.0.20000.0", 1},
        {"F large build above highest", "/F$PathV10#10.0.19040.9", 0},
        {"D folder alone", "/D$BinFolder", 1},
        {"D missing file", "/D$BinFolder#nothere.dll", 0},
        {"D file in range", "/D$BinFolder#dlfix_v1_5.dll#2.0.0.0#1.0.0.0", 1},
        {"D file above highest", "/D$BinFolder#dlfix_v1_5.dll#1.4.0.0", 0},
        {"D value names a file", "/D$PathV15", 0},
        {"R takes _S", "/R$Text;_Sabd", 0},
        {"negated /S is no comparison", "/R$Text;!/Sabd", 1},
        {"/S after E", "/E$Text;/Sabd", 1},
        {"R negated, no compare", "!/R$Text", 1},
        {"R negated compare", "!/R$Text;/SABC", 0},
        {"R unreadable", "/R$Nope", 0},
        {"R 1023 bytes", "/R$Fits;/S" + std::string(1022, 'f'), 1},
        {"R value of 1024 bytes unreadable", "/R$TooLong", 0},
        {"R profile key", "/RINI\\NVCONDTEST\\KEY;/SYES", 1},
        {"V in range", "/V$Ver#2.0#1.0", 1},
        {"V above highest", "/V$Ver#1.4", 0},
        {"V below lowest", "/V$Ver##1.6", 0},
        {"E falls back to the key", "/E$SUB", 1},
        {"E key negated", "!/E$SUB", 0},
        {"marker -", "-E$NOSUCH", 0},
        {"all terms must hold", "/E$Text;/V$Ver#1.4;/E$Text", 0},
        {"unknown letter skipped", "/XJUNK;/E$Text", 1},
        {"empty token ends", "/E$Text;;/R$Nope", 1},
        {"lower-case text", "/rhklm\\software\\nvinfoconditiontest\\text;/sAbC", 1},
        {"very long path", "/RHKLM\\" + std::string(100000, 'A'), 0},
    };
    const std::string path = "HKLM\\SOFTWARE\\NVINFOCONDITIONTEST\\";
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, nv::IsInstalliert(WithKey(row.condition, path))) << row.name;
}
