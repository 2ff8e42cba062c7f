// libFuzzer target for the installation condition parser, built natively
// (the parser is pure logic and needs no Windows). Not part of the main
// build. From the repository root:
//
//   mkdir -p build-fuzz && clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//       fuzz/condition_fuzz.cpp src/download/condition_parser.cpp src/support/text.cpp \
//       -o build-fuzz/condition_fuzz
//   build-fuzz/condition_fuzz -max_total_time=60 -max_len=512 fuzz/condition_corpus
//
// Besides not crashing, every input must keep the parser's promises: short
// texts give no terms, case does not matter, every term has a known type,
// fields hold neither "#" nor ";", and there are never more terms than tokens.
#include "download/condition_parser.h"
#include "support/text.h"

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

bool SameTerms(const std::vector<nv::ConditionTerm>& a, const std::vector<nv::ConditionTerm>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].negated != b[i].negated || a[i].type != b[i].type ||
            a[i].compare != b[i].compare || a[i].expected != b[i].expected)
            return false;
        for (int field = 0; field < 4; ++field)
            if (a[i].fields[field] != b[i].fields[field])
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<nv::ConditionTerm> terms = nv::ParseCondition(text);
    if (text.size() < 7)
        Require(terms.empty());
    const size_t tokens = static_cast<size_t>(std::count(text.begin(), text.end(), ';')) + 1;
    Require(terms.size() <= tokens);
    for (const nv::ConditionTerm& term : terms) {
        Require(std::string("FDRVE").find(term.type) != std::string::npos);
        for (const std::string& field : term.fields)
            Require(field.find_first_of("#;") == std::string::npos);
        Require(term.expected.find(';') == std::string::npos);
        Require(term.compare || term.expected.empty());
        Require(term.compare ? term.type == 'R' : true);
    }
    Require(SameTerms(terms, nv::ParseCondition(nv::ToLower(text))));
    return 0;
}
