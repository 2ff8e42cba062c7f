// Loading NDC files into the model, against the floor of reading the same
// file once and splitting it into sections and keys.
//   bench_ndc_model.exe   (run under build/wine-run)
// For 500, 1,000 and 2,000 sections of 25 keys it times IsLocalUpdateAvailable's
// core (CountLocalUpdates: the installed file and its local copy, every item
// compared) and one read-and-parse of the installed file, and prints both and
// their ratio. The best of several runs counts.
#include "download/download_info.h"
#include "harness/temp_folder.h"

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

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

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

template <class F> double BestOf(int runs, F work)
{
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        best = std::min(best, Seconds(start, end));
    }
    return best;
}

// The floor: one read of the file and one pass that splits it into
// sections and key/value pairs.
size_t ReadAndParse(const std::string& path)
{
    std::string content;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    content.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        if (content[start] == '[') {
            size_t close = content.find(']', start);
            sections.emplace_back(content.substr(start + 1, close - start - 1),
                                  std::vector<std::pair<std::string, std::string>>());
        } else if (!sections.empty()) {
            size_t equals = content.find('=', start);
            if (equals < end)
                sections.back().second.emplace_back(content.substr(start, equals - start),
                                                    content.substr(equals + 1, end - equals - 1));
        }
        start = end + 1;
    }
    return sections.size();
}

} // namespace

int main()
{
    TempFolder folder;
    std::printf("%9s %12s %12s %7s\n", "sections", "model ms", "parse ms", "ratio");
    for (int sections : {500, 1000, 2000}) {
        const std::string local = folder.Path() + "\\local" + std::to_string(sections);
        const std::string name = "bench" + std::to_string(sections) + ".ndc";
        const std::string installed = folder.Write(name, MakeNdc(sections, local, 5));
        // The local copy has every item in the same, installed edition, so
        // the count walks all items.
        folder.Write("local" + std::to_string(sections) + "\\" + name, MakeNdc(sections, "", 5));
        int found = -1;
        double model = BestOf(5, [&] {
            CDownloadInfo info;
            found = info.CountLocalUpdates(installed.c_str());
        });
        size_t parsed = 0;
        double parse = BestOf(5, [&] { parsed = ReadAndParse(installed); });
        if (found != 0 || parsed != static_cast<size_t>(sections) + 1) {
            std::printf("unexpected result: %d local updates, %u sections\n", found,
                        static_cast<unsigned>(parsed));
            return 1;
        }
        std::printf("%9d %12.2f %12.2f %7.1f\n", sections, model * 1000, parse * 1000,
                    model / parse);
    }
    return 0;
}
