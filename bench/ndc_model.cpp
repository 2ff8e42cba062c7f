// IsLocalUpdateAvailable's core (CountLocalUpdates) against the floor of
// loading the two files it reads: the installed NDC file and its local copy.
//   bench_ndc_model.exe   (run under build/wine-run)
// Row "model": 500, 1,000 and 2,000 sections of 25 keys, the local copy with
// every item in the same, installed edition, so the count walks all items.
// Row "quota": a local copy whose items all carry a quota and no diced number
// yet, none of them in the installed file: every item dices and its number
// goes into the local copy, so the floor also writes that file once, with the
// bytes the count leaves in it, the way any careful writer writes a file
// others read (temporary file in the same folder, flushed, moved over it).
#include "bench_support.h"
#include "download/download_info.h"
#include "harness/temp_folder.h"

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

const int kTurns = 7;

std::string MakeNdc(int sections, const std::string& localFolder, int dateVer)
{
    std::ostringstream text;
    text << "[Header]\nName=Bench\nDateVer=1\n";
    if (!localFolder.empty())
        text << "LocalURL=" << localFolder << "\n";
    for (int i = 0; i < sections; ++i) {
        text << "[Item" << i << "]\n"
             << "Name=Update " << i << "\nDateVer=" << dateVer << "\nState=\nSize=" << 100 + i
             << " kB\nTooltip=Tip " << i << "\nFile=upd" << i << ".exe\n"
             << "FileURL=http://updates.example/p/upd" << i << ".exe\nInstalliert=\n"
             << "Close=app.exe\nShellExecute=\nRun=upd" << i << ".exe /s\nSilentRun=1\n"
             << "Summary=Summary of update " << i << "\nDestination=C:\\Pkg\nDelFile=\n"
             << "Severity=normal\nMyGroup=\nInfo=Text " << i << ";info" << i << ".htm\n"
             << "Update=1\nDownload=1\nElster=0\nReDistribute=0\nQuota=-1\nQuotaDiced=-1\n"
             << "PrivilegedGroup=\n";
    }
    return text.str();
}

// Items with a quota of 900 (of 0..999) and no number yet: nine in ten are offered.
std::string MakeQuotaCopy(int sections)
{
    std::ostringstream text;
    text << "[Header]\r\nName=Bench\r\nDateVer=1\r\n";
    for (int i = 0; i < sections; ++i)
        text << "[Item" << i << "]\r\nName=Update " << i << "\r\nDateVer=5\r\nSize=" << 100 + i
             << " kB\r\nFileURL=http://updates.example/p/upd" << i << ".exe\r\nQuota=900\r\n";
    return text.str();
}

// The floor: both files read and split into sections and keys.
size_t ParseBoth(const std::string& installed, const std::string& copy)
{
    return bench::ReadAndParse(installed).size() + bench::ReadAndParse(copy).size();
}

} // namespace

int main()
{
    TempFolder folder;
    bench::Report report("model", "floor");
    for (int sections : {500, 1000, 2000}) {
        const std::string local = folder.Path() + "\\local" + std::to_string(sections);
        const std::string name = "bench" + std::to_string(sections) + ".ndc";
        const std::string installed = folder.Write(name, MakeNdc(sections, local, 5));
        const std::string copy = folder.Write("local" + std::to_string(sections) + "\\" + name,
                                              MakeNdc(sections, "", 5));
        int found = -1;
        size_t parsed = 0;
        bench::Figures figures = bench::MedianOf(
            kTurns, [] {},
            [&] {
                CDownloadInfo info;
                found = info.CountLocalUpdates(installed.c_str());
            },
            [&] { parsed = ParseBoth(installed, copy); });
        if (found != 0 || parsed != 2 * (static_cast<size_t>(sections) + 1)) {
            std::printf("unexpected result: %d local updates, %u sections\n", found,
                        static_cast<unsigned>(parsed));
            return 1;
        }
        report.Add("model", sections, figures);
    }
    for (int sections : {500, 1000, 2000}) {
        const std::string local = folder.Path() + "\\quota" + std::to_string(sections);
        const std::string name = "quota" + std::to_string(sections) + ".ndc";
        const std::string installed = folder.Write(name, MakeNdc(0, local, 5));
        const std::string fresh = MakeQuotaCopy(sections);
        const std::string copy =
            folder.Write("quota" + std::to_string(sections) + "\\" + name, fresh);
        bench::WriteBytes(copy, fresh);
        int found = CDownloadInfo().CountLocalUpdates(installed.c_str());
        const std::string diced = bench::ReadBytes(copy);
        if (found <= 0 || diced.size() <= fresh.size()) {
            std::printf("unexpected result: %d local updates, %u bytes\n", found,
                        static_cast<unsigned>(diced.size()));
            return 1;
        }
        bench::Figures figures = bench::MedianOf(
            kTurns, [&] { bench::WriteBytes(copy, fresh); },
            [&] {
                CDownloadInfo info;
                found = info.CountLocalUpdates(installed.c_str());
            },
            [&] {
                ParseBoth(installed, copy);
                bench::WriteReplacing(copy, diced);
            });
        report.Add("quota", sections, figures);
    }
    return 0;
}
