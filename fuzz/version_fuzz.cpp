// libFuzzer target for the version text parser, built natively (the parser is
// pure logic and needs no Windows). Not part of the main build. From the
// repository root:
//
//   mkdir -p build-fuzz && clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//       fuzz/version_fuzz.cpp src/constraint/version_number.cpp src/support/text.cpp \
//       -o build-fuzz/version_fuzz
//   build-fuzz/version_fuzz -max_total_time=60 -max_len=256
//
// Besides not crashing, every input must keep the value's promises: the text
// form reads back as the same value, "," and "." separate alike, and exactly
// one of less, equal and greater holds between two values.
#include "constraint/version_number.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    // The module's texts are zero-terminated; nothing after a zero reaches the parser.
    text = text.substr(0, text.find('\0'));
    size_t half = text.size() / 2;
    std::string first = text.substr(0, half);
    std::string second = text.substr(half);

    CVersionNumber a(first);
    CVersionNumber b(second);
    Require(CVersionNumber(a.Text()) == a);
    Require(a.Text().size() <= 4 * 11 + 3);

    std::string dotted = first;
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    Require(CVersionNumber(dotted) == a);

    int order = nv::CompareVersionTexts(first, second);
    Require(order >= -1 && order <= 1);
    Require((order < 0) == nv::Less(a, b) && (order > 0) == nv::Greater(a, b) &&
            (order == 0) == (a == b));
    Require(nv::Less(a, b) == nv::Greater(b, a));
    Require(nv::CompareVersionTexts(second, first) == -order);

    Require(nv::IsVersionInRange(first, first, first));
    Require(nv::IsVersionInRange(first, std::string(), std::string()));
    return 0;
}
