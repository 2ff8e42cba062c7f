// The process-wide values (machine rollout settings, the random generator,
// the version query, the news date override) meet two threads' first calls in
// fresh processes: one thread in a single-threaded COM apartment, one in the
// multithreaded one.
#include "harness/module_paths.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <process.h>

#include <regex>
#include <set>
#include <sstream>

TEST(FirstCalls, TwoThreadsOfFreshProcessesGetOneThreadsAnswersAndDrawTheirOwnNumbers)
{
    const char* const key = "Software\\NvinfoFirstCallsTest";
    TempFolder folder;
    RegistrySandbox registry;
    registry.SetString(HKEY_LOCAL_MACHINE, "Software\\Norvane\\Download", "PrivilegedGroup",
                       "alpha;BETA");
    registry.DeleteValue(HKEY_LOCAL_MACHINE, "Software\\Norvane\\Download", "QuotaDiced");
    registry.SetString(HKEY_LOCAL_MACHINE, key, "V15", OutputFile("dlfix_v1_5.dll"));
    registry.SetString(HKEY_LOCAL_MACHINE, key, "V21", OutputFile("dlfix_v2_1.dll"));
    registry.SetString(HKEY_LOCAL_MACHINE, key, "Daten", folder.File("daten"));
    const std::string holding = "/FHKLM\\" + std::string(key) + "\\V15#1.5.0.0#1.5.0.0";
    const std::string failing = "/FHKLM\\" + std::string(key) + "\\V21#1.5.0.0#1.5.0.0";
    // The item is shown only on the override's date, far in the future.
    SYSTEMTIME now;
    GetLocalTime(&now);
    registry.SetDword(HKEY_CURRENT_USER, "Software\\Norvane\\NewsBand", "IsActive",
                      now.wDay * 1000 + now.wMonth * 10 + now.wDayOfWeek + 1);
    registry.SetString(HKEY_CURRENT_USER, "Software\\Norvane\\NewsBand", "CurrentDate",
                       "02.01.2100");
    const std::string feed = folder.Write(
        "daten\\firstcalls.xml", "<rss><channel><item><guid>later</guid><von>01.01.2100</von>"
                                 "</item></channel></rss>");
    folder.Write("daten\\firstcalls.feed",
                 "<i><NvFeed><Url>x/firstcalls.xml</Url><RegistryDestination>HKLM\\" +
                     std::string(key) + "\\Daten</RegistryDestination></NvFeed></i>");
    std::string dice;
    for (int item = 0; item < 8; ++item)
        dice += "[D" + std::to_string(item) + "]\nQuota=999\n";
    const std::string ndc = folder.Write(
        "first.ndc", "[Beta]\nQuota=0\nQuotaDiced=700\nPrivilegedGroup=beta\n"
                     "[Plain]\nQuota=0\nQuotaDiced=700\n" + dice);

    // Three processes at once: first calls in the same second on every one.
    const std::string program = OutputFile("nvfirstcalls.exe");
    const std::string args[] = {"\"" + program + "\"", "\"" + ndc + "\"", "firstcalls",
                                "HKLM\\" + std::string(key) + "\\Daten", "\"" + holding + "\"",
                                "\"" + failing + "\""};
    std::vector<std::pair<HANDLE, std::string>> runs;
    for (int run = 0; run < 3; ++run) {
        std::string out = folder.File("answers" + std::to_string(run) + ".txt");
        intptr_t process = _spawnl(_P_NOWAIT, program.c_str(), args[0].c_str(), out.c_str(),
                                   args[1].c_str(), args[2].c_str(), args[3].c_str(),
                                   args[4].c_str(), args[5].c_str(), nullptr);
        ASSERT_NE(-1, process);
        runs.emplace_back(reinterpret_cast<HANDLE>(process), out);
    }
    const std::regex answer(
        "privileged=1 plain=0 conditions=50/0 news=1 dice=((?:\\d{1,3},){8})");
    std::set<std::string> drawn;
    for (const auto& run : runs) {
        if (WaitForSingleObject(run.first, 60000) != WAIT_OBJECT_0)
            TerminateProcess(run.first, 254);
        DWORD exitCode = 254;
        GetExitCodeProcess(run.first, &exitCode);
        CloseHandle(run.first);
        EXPECT_EQ(0u, exitCode);
        std::istringstream lines(ReadWholeFile(run.second));
        for (std::string line; std::getline(lines, line);) {
            std::smatch found;
            EXPECT_TRUE(std::regex_match(line, found, answer)) << line;
            drawn.insert(found[1].str());
        }
    }
    EXPECT_EQ(6u, drawn.size()) << "every thread of every process draws numbers of its own";
}
