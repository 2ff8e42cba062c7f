// GetUpdates on an old and a new NDC file of n items each (a tenth new, a
// tenth newer editions), against loading the same two files into the model.
// Grouped: a group of five members per fifty items. Deep and wide: every item
// a member of the innermost of as many nested groups as a file may have. The
// merge writes its flags back into the new file, so every run starts from a
// fresh copy of it.
#include "download/download_info.h"
#include "download/ndc_limits.h"
#include "harness/temp_folder.h"
#include "updates/update_catalogue.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

namespace {

struct NdcPair {
    std::string oldText;
    std::string newText;
};

std::string ItemBody(int dateVer, bool installed)
{
    std::string body = "Name=Update " + std::to_string(dateVer) +
                       "\nSize=2048 kB\nFileURL=http://updates.example/u.exe\nFile=u.exe\n"
                       "Info=Text of the update;info.htm\nTooltip=Tip\nDateVer=" +
                       std::to_string(dateVer) + "\nQuota=900\n";
    if (installed)
        body += "Update=1\nDownload=1\nQuotaDiced=17\n";
    return body;
}

NdcPair MakePair(int items, bool deep)
{
    NdcPair pair;
    pair.oldText = "[Header]\nDateVer=1\n";
    pair.newText = "[Header]\nDateVer=2\n";
    for (int i = 0; i < items; ++i) {
        std::string section = "[item" + std::to_string(i) + "]\n";
        std::string group = deep ? "MyGroup=deep0\n" : "";
        if (!deep && i % 50 == 0) {
            pair.oldText += "[group" + std::to_string(i) + "]\nDateVer=3\n";
            pair.newText += "[group" + std::to_string(i) + "]\nDateVer=3\n";
        }
        if (!deep && i % 50 < 5)
            group = "MyGroup=group" + std::to_string(i - i % 50) + "\n";
        bool fresh = i % 10 == 1;
        bool newer = i % 10 == 2;
        if (!fresh)
            pair.oldText += section + ItemBody(5, true) + group;
        // A member that dices above the quota would make its groups not
        // installable and end the merge's look into them early.
        pair.newText +=
            section + ItemBody(newer ? 6 : 5, false) + group + (deep ? "QuotaDiced=17\n" : "");
    }
    // Members come before their groups, as a group that has joined another
    // one can no longer be named. The new file's groups are a newer edition,
    // so the merge looks into every level.
    for (int level = 0; deep && level < nv::ndc::kMaxGroupDepth; ++level) {
        std::string group = "[deep" + std::to_string(level) + "]\n";
        if (level + 1 < nv::ndc::kMaxGroupDepth)
            group += "MyGroup=deep" + std::to_string(level + 1) + "\n";
        pair.oldText += group + "DateVer=3\n";
        pair.newText += group + "DateVer=4\n";
    }
    return pair;
}

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

struct Timing {
    double getUpdates;
    double load;
    size_t length;
};

Timing Measure(const TempFolder& folder, int items, bool deep, int rounds)
{
    NdcPair pair = MakePair(items, deep);
    std::string oldPath = folder.Write("old" + std::to_string(items) + ".ndc", pair.oldText);
    std::string newName = "new" + std::to_string(items) + ".ndc";
    Timing timing{1e9, 1e9, 0};
    for (int round = 0; round < rounds; ++round) {
        std::string newPath = folder.Write(newName, pair.newText);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        {
            CDownloadInfo info;
            info.LoadFile(oldPath.c_str(), &info.m_aOldItems, &info.m_mapOldItems);
            info.LoadFile(newPath.c_str(), &info.m_aNewItems, &info.m_mapNewItems);
        }
        QueryPerformanceCounter(&end);
        timing.load = std::min(timing.load, Seconds(start, end));

        QueryPerformanceCounter(&start);
        std::string list = nv::GetUpdates(oldPath, newPath, false, false, false);
        QueryPerformanceCounter(&end);
        timing.getUpdates = std::min(timing.getUpdates, Seconds(start, end));
        timing.length = list.size();
    }
    return timing;
}

} // namespace

int main()
{
    CoInitialize(nullptr);
    TempFolder folder;
    const int sizes[] = {1000, 2000, 4000, 8000};
    std::printf("%-14s %6s %12s %12s %7s %12s\n", "shape", "items", "GetUpdates", "load both",
                "ratio", "growth x2");
    for (bool deep : {false, true}) {
        Timing previous{};
        for (int items : sizes) {
            Timing timing = Measure(folder, items, deep, 5);
            double growth = previous.getUpdates > 0 ? timing.getUpdates / previous.getUpdates : 0;
            std::printf("%-14s %6d %10.1f ms %10.1f ms %7.2f %12.2f   (%zu bytes of XML)\n",
                        deep ? "deep and wide" : "grouped", items, timing.getUpdates * 1000,
                        timing.load * 1000, timing.getUpdates / timing.load, growth, timing.length);
            previous = timing;
        }
    }
    return 0;
}
