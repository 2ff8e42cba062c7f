#include "download/condition_parser.h"

#include "support/text.h"

namespace nv {

namespace {

// Conditions of fewer characters than this hold without any check.
const size_t kShortestCondition = 7;

bool IsTokenMarker(char c) { return c == '/' || c == '-' || c == '_'; }

bool IsTermType(char c) { return c == 'F' || c == 'D' || c == 'R' || c == 'V' || c == 'E'; }

// The expected text of an "/S" token, or false when the token is none.
bool ReadCompareToken(const std::string& token, std::string& expected)
{
    if (token.size() < 2 || !IsTokenMarker(token[0]) || token[1] != 'S')
        return false;
    expected = token.substr(2);
    return true;
}

bool ReadTerm(const std::string& token, ConditionTerm& term)
{
    size_t pos = 0;
    term.negated = !token.empty() && token[0] == '!';
    if (term.negated)
        pos = 1;
    if (token.size() < pos + 2 || !IsTokenMarker(token[pos]) || !IsTermType(token[pos + 1]))
        return false;
    term.type = token[pos + 1];
    const std::string arguments = token.substr(pos + 2);
    size_t start = 0;
    for (int field = 0; field < 4 && start <= arguments.size(); ++field) {
        size_t hash = arguments.find('#', start);
        size_t end = hash == std::string::npos ? arguments.size() : hash;
        term.fields[field] = arguments.substr(start, end - start);
        if (hash == std::string::npos)
            break;
        start = hash + 1;
    }
    return true;
}

} // namespace

std::vector<ConditionTerm> ParseCondition(const std::string& condition)
{
    std::vector<ConditionTerm> terms;
    if (condition.size() < kShortestCondition)
        return terms;
    const std::string text = ToUpper(condition);
    std::vector<std::string> tokens;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(';', start);
        tokens.push_back(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].empty())
            break;
        ConditionTerm term;
        if (!ReadTerm(tokens[i], term))
            continue;
        if (term.type == 'R' && i + 1 < tokens.size() &&
            ReadCompareToken(tokens[i + 1], term.expected)) {
            term.compare = true;
            ++i;
        }
        terms.push_back(std::move(term));
    }
    return terms;
}

} // namespace nv
