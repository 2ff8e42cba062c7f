// What the benchmarks share: wall-clock medians of a job and of its baseline
// (the bare work the job cannot avoid, on the same files, in the same run),
// a report that prints per size the two times, their ratio and the job's
// growth per doubling, and closes with one "ratio <row> <size> <value>" line
// per row and size for scripts; the floor of loading an NDC file and of
// writing one.
//
// Wall-clock time, not thread time: under Wine a thread's processor time
// moves in steps of 10 ms. The machine may be shared, so job and baseline
// take turns and the median of several turns counts.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace bench {

inline double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Figures {
    double job = 0;
    double baseline = 0;
};

// `prepare` runs untimed before each timing (a file the job writes starts
// afresh). Job and baseline alternate which goes first. A slow job stops
// after three turns once it has taken 20 s.
template <class Prepare, class Job, class Baseline>
Figures MedianOf(int turns, Prepare prepare, Job job, Baseline baseline)
{
    std::vector<double> jobTimes, baselineTimes;
    auto time = [&](auto& work, std::vector<double>& times) {
        prepare();
        double start = Now();
        work();
        times.push_back(Now() - start);
    };
    const double begin = Now();
    for (int turn = 0; turn < turns && (turn < 3 || Now() - begin < 20); ++turn) {
        if (turn % 2) {
            time(baseline, baselineTimes);
            time(job, jobTimes);
        } else {
            time(job, jobTimes);
            time(baseline, baselineTimes);
        }
    }
    return Figures{Median(jobTimes), Median(baselineTimes)};
}

class Report {
public:
    Report(const char* job, const char* baseline)
    {
        std::printf("%-8s %7s %12s %12s %7s %10s\n", "row", "size", job, baseline, "ratio",
                    "growth x2");
    }
    ~Report()
    {
        for (const Line& line : m_lines)
            std::printf("ratio %s %d %.2f\n", line.row.c_str(), line.size, line.ratio);
    }
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // Growth per doubling: the job's time against the row's previous size,
    // scaled to a doubling of the size.
    void Add(const std::string& row, int size, const Figures& figures, const char* note = "")
    {
        double growth = 0;
        if (!m_lines.empty() && m_lines.back().row == row && m_lines.back().job > 0)
            growth = std::pow(figures.job / m_lines.back().job,
                              1.0 / std::log2(double(size) / m_lines.back().size));
        double ratio = figures.baseline > 0 ? figures.job / figures.baseline : 0;
        std::printf("%-8s %7d %9.1f ms %9.1f ms %7.2f %10.2f  %s\n", row.c_str(), size,
                    figures.job * 1000, figures.baseline * 1000, ratio, growth, note);
        std::fflush(stdout);
        m_lines.push_back(Line{row, size, figures.job, ratio});
    }

private:
    struct Line {
        std::string row;
        int size;
        double job;
        double ratio;
    };
    std::vector<Line> m_lines;
};

using IniKeys = std::vector<std::pair<std::string, std::string>>;
using IniSections = std::vector<std::pair<std::string, IniKeys>>;

inline std::string ReadBytes(const std::string& path)
{
    std::string content;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return content;
    content.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    return content;
}

inline void WriteBytes(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

// A file that others read, written the way any careful writer writes one: the
// new bytes into a temporary file in the same folder, flushed, then moved over
// the old file in one step, so no reader ever finds it half written.
inline void WriteReplacing(const std::string& path, const std::string& content)
{
    const std::string temporary = path + ".new";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
    MoveFileExA(temporary.c_str(), path.c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// The floor of loading an NDC file: one read and one pass that splits it into
// sections and key/value pairs.
inline IniSections ReadAndParse(const std::string& path)
{
    const std::string content = ReadBytes(path);
    IniSections sections;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        if (content[start] == '[') {
            size_t close = content.find(']', start);
            sections.emplace_back(content.substr(start + 1, close - start - 1), IniKeys());
        } else if (!sections.empty()) {
            size_t equals = content.find('=', start);
            if (equals < end)
                sections.back().second.emplace_back(content.substr(start, equals - start),
                                                    content.substr(equals + 1, end - equals - 1));
        }
        start = end + 1;
    }
    return sections;
}

} // namespace bench
