// libFuzzer target for the application entry list. Native build (no Windows
// needed; the parser is plain text work):
//
//   clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//       fuzz/app_entry_fuzz.cpp src/shutdown/app_entry.cpp src/support/text.cpp \
//       -o build-fuzz/app_entry_fuzz
//   ./build-fuzz/app_entry_fuzz -max_total_time=60 fuzz/app_entry_corpus
//
// Besides memory errors it checks the invariants callers rely on.
#include "shutdown/app_entry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool HasUpperAscii(const std::string& text)
{
    for (char c : text)
        if (c >= 'A' && c <= 'Z')
            return true;
    return false;
}

void CheckEntry(const std::string& text)
{
    nv::AppEntry entry = nv::ParseAppEntry(text);
    Check(entry.seconds <= 9999999999ULL);
    Check(!HasUpperAscii(entry.name));
    Check(entry.name.find('#') == std::string::npos);
    Check(entry.message.find('#') == std::string::npos);
    Check(entry.caption.find('#') == std::string::npos);
    Check(entry.hasProperty == (entry.name.find('\'') != std::string::npos));
    Check(entry.propertyName.size() <= entry.name.size());
    Check(entry.propertyName.find('\'') == std::string::npos);
    Check(entry.method == 0 || (text.size() >= 2 && (text[0] == '/' || text[0] == '-')));
    Check(entry.method < 'a' || entry.method > 'z');
    Check(entry.name.size() + entry.message.size() + entry.caption.size() <= text.size() ||
          entry.caption == nv::kCloseAppsDefaultCaption);
    nv::ProcessPathMatches(entry.name, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string list(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> entries = nv::SplitAppEntryList(list);
    size_t total = 0;
    for (const std::string& entry : entries) {
        Check(entry.find(';') == std::string::npos);
        total += entry.size();
        CheckEntry(entry);
    }
    Check(list.empty() ? entries.empty() : total + entries.size() - 1 == list.size());
    return 0;
}
