// The process-wide values (machine rollout settings, the random generator,
// the version query, the news date override) meet two threads' first calls in
// fresh processes: one thread in a single-threaded COM apartment, one in the
// multithreaded one.
#include "harness/check_number.h"
#include "harness/child_process.h"
#include "harness/module_paths.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <memory>
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
    const DWORD today = TodaysCheckNumber();
    registry.SetDword(HKEY_CURRENT_USER, "Software\\Norvane\\NewsBand", "IsActive", today);
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
    const std::string ndc =
        folder.Write("first.ndc", "[Beta]\nQuota=0\nQuotaDiced=700\nPrivilegedGroup=beta\n"
                                  "[Plain]\nQuota=0\nQuotaDiced=700\n" +
                                      dice);

    // Three processes at once: first calls in the same second on every one.
    const std::string arguments = Quoted(ndc) + " firstcalls HKLM\\" + key + "\\Daten " +
                                  Quoted(holding) + " " + Quoted(failing);
    std::unique_ptr<ChildProcess> runs[3];
    for (int run = 0; run < 3; ++run)
        runs[run].reset(new ChildProcess(OutputFile("nvfirstcalls.exe"),
                                         Quoted(folder.File("answers" + std::to_string(run))) +
                                             " " + arguments));
    std::string news = "news=1";
    std::set<std::string> drawn;
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(0u, runs[run]->Finish(60000));
        // After midnight a thread may have seen the next day's number and the clock.
        if (today != TodaysCheckNumber())
            news = "news=[01]";
        const std::regex answer("privileged=1 plain=0 conditions=50/0 " + news +
                                " dice=((?:\\d{1,3},){8})");
        std::istringstream lines(ReadWholeFile(folder.File("answers" + std::to_string(run))));
        for (std::string line; std::getline(lines, line);) {
            std::smatch found;
            EXPECT_TRUE(std::regex_match(line, found, answer)) << line;
            drawn.insert(found[1].str());
        }
    }
    EXPECT_EQ(6u, drawn.size()) << "every thread of every process draws numbers of its own";
}
