// _CloseApps@8 against real processes: stand-in applications (nvtarget, or a
// copy of it under another name) are started and their exit codes tell which
// were closed and how.
#include "dialog_capture.h"
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"
#include "harness/target_process.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>

namespace {

void CallCloseApps(const char* list, HWND owner = nullptr)
{
    NvinfoModule::Proc<PFN_NV_CLOSEAPPS>(NVINFO_CLOSEAPPS)(list, owner);
}

TEST(CloseApps, EachMethodClosesItsWay)
{
    struct Row {
        const char *name, *entry /* null: none names this target */, *options;
        int program; // nvtarget, a copy under another name, its 64-bit build
        DWORD exitCode;
    } rows[] = {
        {"standard closes", "'NvStd'", "prop=NvStd", 0, kTargetClosed},
        {"standard, ignored: WM_QUIT", "'NvIgn'", "ignore prop=NvIgn", 0, kTargetQuitInLoop},
        {"hung: terminated", "'NvHung'", "hang prop=NvHung", 0, kTargetTerminated},
        {"F posts WM_CLOSE with wParam 1", "/F'NvOptF'", "prop=NvOptF", 0, kTargetClosed + 1},
        {"N notifies WM_CLOSE", "/N'NvOptN'", "prop=NvOptN", 0, kTargetClosed},
        {"Q posts WM_QUIT", "/Q'NvOptQ'", "ignore prop=NvOptQ", 0, kTargetQuitInLoop},
        {"R sends WM_CLOSE", "/R'NvOptR'", "prop=NvOptR", 0, kTargetClosed},
        {"S sends WM_QUIT", "/S'NvOptS'", "ignore prop=NvOptS", 0, kTargetQuitSent},
        {"R gives up on two hung windows", "/R1'NvHangR'", "hangonclose second prop=NvHangR", 0,
         STILL_ACTIVE},
        {"s gives up on a hang", "/s1'NvHangS'", "hangonclose prop=NvHangS", 0, STILL_ACTIVE},
        {"property matches any program", "/P'NvAny'", "prop=NvAny", 1, kTargetClosed},
        {"not named: untouched", nullptr, "prop=NvNone", 1, STILL_ACTIVE},
        {"64-bit program by name", "nvtarget64.exe", "", 2, kTargetClosed},
    };
    TempFolder folder;
    const std::string programs[] = {TargetProgram(), folder.File("nvbystander.exe"),
                                    OutputFile("nvtarget64.exe")};
    ASSERT_TRUE(CopyFileA(programs[0].c_str(), programs[1].c_str(), FALSE));
    std::vector<std::unique_ptr<TargetProcess>> targets;
    std::string list;
    for (const Row& row : rows) {
        targets.emplace_back(new TargetProcess(row.name, row.options, programs[row.program]));
        if (row.entry)
            list += (list.empty() ? "" : ";") + std::string(row.entry);
    }
    // R and S sends, and showing a hung program's second window, once waited
    // without a limit; should the call stall, ending the targets ends it.
    auto call = std::async(std::launch::async, [&] { CallCloseApps(list.c_str()); });
    if (call.wait_for(std::chrono::seconds(180)) != std::future_status::ready) {
        ADD_FAILURE() << "_CloseApps@8 did not return";
        for (auto& target : targets)
            target->Kill();
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        const DWORD wait = rows[i].exitCode == STILL_ACTIVE ? 0 : 10000;
        EXPECT_EQ(rows[i].exitCode, targets[i]->WaitForExit(wait)) << rows[i].name;
    }
}

TEST(CloseApps, NameAtTheStartOfThePathDoesNotMatch)
{
    TargetProcess target("path");
    CallCloseApps(TargetProgram().c_str());
    EXPECT_TRUE(target.Running());
    CallCloseApps(TargetProgram().substr(1).c_str());
    EXPECT_EQ(kTargetClosed, target.WaitForExit(10000));
}

TEST(CloseApps, MessageIsShownBeforeEachClose)
{
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    struct Row {
        const char *name, *entry, *options;
        size_t boxes;
        const char *text, *caption;
    } rows[] = {
        // Octal escapes, so that none runs into the next letter: 374 u-umlaut, 334 U-umlaut.
        {"message and caption, closed at once", "/R'NvMsg'#Daten f\374r QdPro#\334ber Nacht",
         "prop=NvMsg", 1, "Daten f\374r QdPro", "\334ber Nacht"},
        {"default caption, asked in each of five passes", "/P'NvMsg'#Schlie\337en!",
         "prop=NvMsg ignore", 5, "Schlie\337en!", "Anwendung beenden"},
        {"empty message shows nothing", "/R'NvMsg'##Titel", "prop=NvMsg", 0, "", ""},
    };
    for (const Row& row : rows) {
        TargetProcess target("msg", row.options);
        DialogCapture capture;
        CallCloseApps(row.entry, owner);
        ASSERT_EQ(row.boxes, capture.Dialogs().size()) << row.name;
        for (const CapturedDialog& box : capture.Dialogs())
            EXPECT_TRUE(row.text == box.text && row.caption == box.caption && owner == box.owner)
                << row.name << ": [" << box.text << "] [" << box.caption << "]";
    }
    DestroyWindow(owner);
}

// The box is a pause of the user's making. The program's WM_NULL keeps it busy
// past the 5 s probe, so it counts as hung; one that ends meanwhile (its window
// gone, the process still busy) has closed, and one that answers again by the
// time the box goes is asked to close: neither is terminated.
TEST(CloseApps, ProgramEndingOrRecoveringWhileTheBoxIsUpIsNotTerminated)
{
    const std::pair<const char*, DWORD> rows[] = {
        {"stall=7000 prop=NvLate", kTargetEndedItself},
        {"stall=6000 recover prop=NvLate", kTargetClosed}};
    for (const auto& [options, exitCode] : rows) {
        TargetProcess target("late", options);
        DialogCapture capture(IDOK, [](const CapturedDialog&) {
            // Queued behind the stalled WM_NULL: ends when the window has gone or answers again.
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(FindWindowA("NvTarget", nullptr), WM_NULL, 0, 0, 0, 30000, &answer);
        });
        CallCloseApps("'NvLate'#Bitte speichern");
        EXPECT_EQ(exitCode, target.WaitForExit(20000)) << options;
    }
}

// A busy program no entry names (windows answering every 3.5 s) costs a pass
// nothing; the one second is the settle time after the last entry.
TEST(CloseApps, BusyBystanderDoesNotSlowAnEntryThatMatchesNothing)
{
    TargetProcess bystander("busy", "busy=3500");
    const ULONGLONG start = GetTickCount64();
    CallCloseApps("nvnotrunning.exe");
    EXPECT_LT(GetTickCount64() - start, 2000u);
}

} // namespace
