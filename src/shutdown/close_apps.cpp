#include "shutdown/close_apps.h"

#include "shutdown/app_entry.h"
#include "shutdown/app_windows.h"
#include "shutdown/close_methods.h"
#include "shutdown/ox_process.h"

#include <utility>

namespace nv {

namespace {

// An application that keeps its window is asked again, but not for ever.
const int kMaxPassesPerEntry = 5;
// Gives the last closed applications time to release their files.
const DWORD kSettleMs = 1000;

bool BelongsToEntry(const AppEntry& entry, DWORD processId)
{
    if (entry.hasProperty)
        return true;
    std::string path;
    return GetProcessModulePath(processId, path) && ProcessPathMatches(entry.name, path);
}

// Only the entry's own windows are probed, all before the first is closed: a
// busy program the entry does not name costs nothing, and each window's answer
// is taken before any message box pauses the pass.
void KeepEntryWindows(const AppEntry& entry, ApplicationCandidates& candidates)
{
    ApplicationCandidates kept;
    for (ApplicationCandidate& candidate : candidates) {
        if (!IsWindow(candidate.info.hWnd) || !BelongsToEntry(entry, candidate.info.dwProcessId))
            continue;
        candidate.info.bResponding = AnswersProbe(candidate.info.hWnd, kRespondingProbeMs);
        kept.push_back(std::move(candidate));
    }
    candidates.swap(kept);
}

} // namespace

int CloseMatchingApplications(const std::string& entryText, HWND owner)
{
    const AppEntry entry = ParseAppEntry(entryText);
    ApplicationCandidates candidates;
    if (!CollectCandidateWindows(entry.hasProperty ? entry.propertyName.c_str() : nullptr,
                                 candidates) ||
        candidates.empty())
        return 0;
    KeepEntryWindows(entry, candidates);

    int matched = 0;
    for (const ApplicationCandidate& candidate : candidates) {
        HWND window = candidate.info.hWnd;
        if (!IsWindow(window))
            continue;
        const std::string title = WindowTitle(window);
        matched = 1;
        if (!entry.message.empty())
            MessageBoxA(owner, entry.message.c_str(), entry.caption.c_str(),
                        MB_SYSTEMMODAL | MB_ICONINFORMATION);
        ShowApplicationWindow(window);
        ApplyCloseMethod(entry, candidate, title);
        if (entry.seconds > 0)
            WaitForWindowTitleGone(entry.seconds, title);
    }
    return matched;
}

void CloseApps(const char* entries, HWND owner)
{
    if (!entries || !*entries)
        return;
    for (const std::string& entry : SplitAppEntryList(entries)) {
        for (int pass = 0; pass < kMaxPassesPerEntry && CloseMatchingApplications(entry, owner);
             ++pass) {
        }
    }
    Sleep(kSettleMs);
}

} // namespace nv
