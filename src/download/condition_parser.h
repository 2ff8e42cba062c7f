// The installation condition language of NDC items ("Installiert"): tokens
// separated by ";", each an optional "!", one of "/", "-", "_", a type letter
// and arguments split at "#". Pure text work: reading what the tokens name is
// the evaluator's job.
#pragma once

#include <string>
#include <vector>

namespace nv {

struct ConditionTerm {
    bool negated = false;
    // 'F' file, 'D' folder, 'R' value, 'V' version, 'E' exists.
    char type = 0;
    // Field 0 is the profile item path; fields 1 to 3 are optional and empty
    // when not given.
    std::string fields[4];
    // An R term followed by an "/S" token: the value must equal `expected`.
    bool compare = false;
    std::string expected;
};

// The terms to test, in order. Texts shorter than 7 characters hold without a
// test (no terms); the text is upper-cased; an empty token ends the list;
// tokens of another shape are skipped.
std::vector<ConditionTerm> ParseCondition(const std::string& condition);

} // namespace nv
