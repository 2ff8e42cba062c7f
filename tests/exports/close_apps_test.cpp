// _CloseApps@8 against real processes: stand-in applications (nvtarget and a
// copy of it under another name) are started, the export is called, and their
// exit codes tell which were closed and how.
#include "dialog_capture.h"
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"
#include "harness/registry_sandbox.h"
#include "harness/target_process.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const DWORD kExitWaitMs = 5000;

void CallCloseApps(const char* list, HWND owner = nullptr)
{
    NvinfoModule::Proc<PFN_NV_CLOSEAPPS>(NVINFO_CLOSEAPPS)(list, owner);
}

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string UniqueName(const std::string& base)
{
    return base + "-" + std::to_string(GetCurrentProcessId());
}

// A copy of nvtarget under a name no entry of these tests mentions.
class Bystander {
public:
    Bystander() : m_path(m_folder.File("nvbystander.exe"))
    {
        EXPECT_TRUE(CopyFileA(TargetProgram().c_str(), m_path.c_str(), FALSE));
    }
    const std::string& Path() const { return m_path; }

private:
    TempFolder m_folder;
    std::string m_path;
};

// A visible top-level window of the calling test program itself.
class OwnWindow {
public:
    explicit OwnWindow(const char* windowClass, DWORD style)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = windowClass;
        RegisterClassA(&wc);
        m_window = CreateWindowExA(0, windowClass, windowClass, style, 0, 0, 100, 100, nullptr,
                                   nullptr, wc.hInstance, nullptr);
    }
    ~OwnWindow()
    {
        if (IsWindow(m_window))
            DestroyWindow(m_window);
    }
    HWND Get() const { return m_window; }

private:
    HWND m_window = nullptr;
};

TEST(CloseApps, StandardMethodClosesTheNamedApplicationOnly)
{
    Bystander bystander;
    TargetProcess target(TargetProgram(), "NvCloseStd", UniqueName("std"));
    TargetProcess other(bystander.Path(), "NvCloseStd", UniqueName("bystander"));
    CallCloseApps("nvtarget.exe");
    EXPECT_EQ(kTargetClosed, target.WaitForExit(kExitWaitMs));
    EXPECT_TRUE(other.Running());
}

TEST(CloseApps, OnlyVisibleUnownedApplicationWindowsCount)
{
    const char* const kinds[] = {"tool", "hidden", "owned"};
    std::vector<std::unique_ptr<TargetProcess>> targets;
    for (const char* kind : kinds)
        targets.emplace_back(new TargetProcess(TargetProgram(), "NvCloseFilter",
                                               UniqueName(kind), {kind}));
    CallCloseApps("nvtarget.exe");
    for (size_t i = 0; i < targets.size(); ++i)
        EXPECT_TRUE(targets[i]->Running()) << kinds[i];
}

TEST(CloseApps, EachOptionLetterClosesItsWay)
{
    struct Row {
        const char* name;
        const char* entry;
        const char* property;
        std::vector<std::string> options;
        bool asBystander;
        DWORD exitCode;
    } rows[] = {
        {"F posts WM_CLOSE with wParam 1", "/F'NvOptF'", "NvOptF", {}, false, kTargetClosed + 1},
        {"f in lower case", "-f'NvOptLowF'", "NvOptLowF", {}, false, kTargetClosed + 1},
        {"N notifies WM_CLOSE", "/N'NvOptN'", "NvOptN", {}, false, kTargetClosed},
        {"P posts WM_CLOSE", "/P'NvOptP'", "NvOptP", {}, false, kTargetClosed},
        {"Q posts WM_QUIT", "/Q'NvOptQ'", "NvOptQ", {"ignore"}, false, kTargetQuitInLoop},
        {"R sends WM_CLOSE and waits", "/R'NvOptR'", "NvOptR", {"ask=1500"}, false,
         kTargetClosed},
        {"S sends WM_QUIT", "/S'NvOptS'", "NvOptS", {"ignore"}, false, kTargetQuitSent},
        {"property matches any program", "/P'NvOptAny'", "NvOptAny", {}, true, kTargetClosed},
    };
    Bystander bystander;
    std::vector<std::unique_ptr<TargetProcess>> targets;
    std::string list;
    for (const Row& row : rows) {
        std::vector<std::string> options = row.options;
        options.push_back(std::string("prop=") + row.property);
        targets.emplace_back(new TargetProcess(row.asBystander ? bystander.Path()
                                                               : TargetProgram(),
                                               "NvCloseOption", UniqueName(row.entry), options));
        list += (list.empty() ? "" : ";") + std::string(row.entry);
    }
    CallCloseApps(list.c_str());
    for (size_t i = 0; i < targets.size(); ++i)
        EXPECT_EQ(rows[i].exitCode, targets[i]->WaitForExit(kExitWaitMs)) << rows[i].name;
}

TEST(CloseApps, WindowThatIgnoresCloseGetsQuit)
{
    struct Row {
        const char* name;
        const char* entry;
    } rows[] = {
        {"standard without seconds", "nvtarget.exe"},
        {"standard with one second", "/A1nvtarget.exe"},
        {"X with one second", "/X1nvtarget.exe"},
    };
    for (const Row& row : rows) {
        TargetProcess target(TargetProgram(), "NvCloseIgnore", UniqueName("ignore"), {"ignore"});
        CallCloseApps(row.entry);
        EXPECT_EQ(kTargetQuitInLoop, target.WaitForExit(kExitWaitMs)) << row.name;
    }
}

TEST(CloseApps, ApplicationThatAsksBeforeClosingIsWaitedFor)
{
    TargetProcess target(TargetProgram(), "NvCloseAsk", UniqueName("ask"), {"ask=1500"});
    CallCloseApps("/X5nvtarget.exe");
    EXPECT_EQ(kTargetClosed, target.WaitForExit(0));
}

TEST(CloseApps, HungApplicationIsTerminatedWithoutClose)
{
    TargetProcess target(TargetProgram(), "NvCloseHung", UniqueName("hung"), {"hang"});
    ASSERT_TRUE(FinishesWithin(20000, [] { CallCloseApps("nvtarget.exe"); }, target));
    EXPECT_EQ(kTargetTerminated, target.WaitForExit(kExitWaitMs));
}

TEST(CloseApps, NameMustNotMatchAtTheStartOfThePath)
{
    TargetProcess target(TargetProgram(), "NvClosePath", UniqueName("path"));
    CallCloseApps(Lower(TargetProgram()).c_str());
    EXPECT_TRUE(target.Running());
    std::string fragment = TargetProgram().substr(1);
    CallCloseApps(fragment.c_str());
    EXPECT_EQ(kTargetClosed, target.WaitForExit(kExitWaitMs));
}

TEST(CloseApps, MessageIsShownBeforeEachClose)
{
    OwnWindow owner("NvCloseOwner", WS_OVERLAPPEDWINDOW);
    struct Row {
        const char* name;
        const char* entry;
        std::vector<std::string> options;
        size_t boxes;
        const char* text;
        const char* caption;
    } rows[] = {
        {"message and caption, closed at once", "/R'NvMsgProp'#Bitte speichern Sie Ihre Daten f\xFCr QdPro.#Update \xFC" "ber Nacht",
         {}, 1, "Bitte speichern Sie Ihre Daten f\xFCr QdPro.", "Update \xFC" "ber Nacht"},
        {"default caption, asked in each of five passes", "/P'NvMsgProp'#Schlie\xDF" "en!",
         {"ignore"}, 5, "Schlie\xDF" "en!", "Anwendung beenden"},
        {"empty message shows nothing", "/R'NvMsgProp'##Titel", {}, 0, "", ""},
    };
    for (const Row& row : rows) {
        std::vector<std::string> options = row.options;
        options.push_back("prop=NvMsgProp");
        TargetProcess target(TargetProgram(), "NvCloseMsg", UniqueName("msg"), options);
        DialogCapture capture;
        CallCloseApps(row.entry, owner.Get());
        ASSERT_EQ(row.boxes, capture.Dialogs().size()) << row.name;
        for (const CapturedDialog& box : capture.Dialogs()) {
            EXPECT_EQ(row.text, box.text) << row.name;
            EXPECT_EQ(row.caption, box.caption) << row.name;
            EXPECT_EQ(owner.Get(), box.owner) << row.name;
        }
    }
}

TEST(CloseApps, CallersOwnWindowsAreIncluded)
{
    OwnWindow window("NvCloseSelf", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(IsWindow(window.Get()));
    CallCloseApps("test_exports.exe");
    EXPECT_FALSE(IsWindow(window.Get()));
}

TEST(CloseApps, PauseOnlyAfterANonEmptyList)
{
    struct Row {
        const char* name;
        const char* list;
        bool pauses;
    } rows[] = {
        {"null list", nullptr, false},
        {"empty list", "", false},
        {"entry that matches nothing", "/X1nvnothing-at-all.exe", true},
        {"empty entries", ";", true},
    };
    for (const Row& row : rows) {
        DWORD start = GetTickCount();
        CallCloseApps(row.list);
        DWORD elapsed = GetTickCount() - start;
        if (row.pauses)
            EXPECT_GE(elapsed, 900u) << row.name;
        else
            EXPECT_LT(elapsed, 500u) << row.name;
    }
}

TEST(CloseApps, ProcessApiIsUnloadedAfterEachLookup)
{
    if (GetModuleHandleA("psapi.dll"))
        GTEST_SKIP() << "the test program itself holds PSAPI";
    TargetProcess target(TargetProgram(), "NvClosePsapi", UniqueName("psapi"));
    CallCloseApps("\\nvtarget.exe");
    EXPECT_EQ(kTargetClosed, target.WaitForExit(kExitWaitMs));
    EXPECT_EQ(nullptr, GetModuleHandleA("psapi.dll"));
}

// Runs the host tool with PSAPI switched off by Wine's DLL overrides (read by a
// process when it starts); returns what it printed.
std::string CloseAppsWithoutPsapi(const std::string& list, const TempFolder& folder)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const std::string outputPath = folder.File("nvhost.txt");
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    std::string commandLine = "nvhost.exe " + std::string(NVINFO_CLOSEAPPS) + " " + list;
    const std::string program = OutputFile("nvhost.exe");
    RegistrySandbox overrides;
    overrides.SetString(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "psapi", "");
    PROCESS_INFORMATION started = {};
    BOOL ok = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                             nullptr, &startup, &started);
    CloseHandle(output);
    if (!ok) {
        ADD_FAILURE() << "cannot start " << program;
        return std::string();
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(started.hProcess, 20000));
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return ReadWholeFile(outputPath);
}

TEST(CloseApps, WithoutPsapiTheUserIsToldAndNothingIsClosed)
{
    TempFolder folder;
    TargetProcess target(TargetProgram(), "NvCloseNoPsapi", UniqueName("nopsapi"));
    std::string printed = CloseAppsWithoutPsapi("nvtarget.exe", folder);
    EXPECT_NE(std::string::npos,
              printed.find("Fehler beim Laden einer Datei: PSAPI.DLL konnte nicht geladen werden!"))
        << printed;
    EXPECT_TRUE(target.Running());
}

} // namespace
