#include "constraint/version_number.h"

#include "support/text.h"

#include <climits>

namespace {

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi as the Microsoft runtime does it, without calling it: the parse must not
// depend on the process locale, and an out-of-range number saturates at
// INT_MAX or INT_MIN instead of being undefined.
int32_t ParseAtoi(const std::string& text, size_t begin, size_t end)
{
    size_t pos = begin;
    while (pos < end && IsCSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int64_t magnitude = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
    for (; pos < end && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int ComparePart(uint32_t a, uint32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

int CompareVersions(const CVersionNumber& a, const CVersionNumber& b)
{
    for (int index = 0; index < 4; ++index) {
        int order = ComparePart(a.Part(index), b.Part(index));
        if (order != 0)
            return order;
    }
    return 0;
}

} // namespace

CVersionNumber::CVersionNumber() : m_parts{0, 0, 0, 0} { UpdateText(); }

CVersionNumber::CVersionNumber(const std::string& text) : m_parts{0, 0, 0, 0}
{
    size_t begin = 0;
    for (int index = 0; index < 4 && begin <= text.size(); ++index) {
        size_t end = text.find_first_of(".,", begin);
        if (end == std::string::npos)
            end = text.size();
        m_parts[index] = static_cast<uint32_t>(ParseAtoi(text, begin, end));
        begin = end + 1;
    }
    UpdateText();
}

CVersionNumber::CVersionNumber(uint32_t major, uint32_t minor, uint32_t build, uint32_t revision)
    : m_parts{major, minor, build, revision}
{
    UpdateText();
}

uint32_t CVersionNumber::Part(int index) const
{
    return index >= 0 && index < 4 ? m_parts[index] : 0;
}

void CVersionNumber::UpdateText()
{
    // Through int32_t so that the negative form is the same where long is wider.
    m_text = nv::FormatText("%ld.%ld.%ld.%ld", static_cast<long>(static_cast<int32_t>(m_parts[0])),
                            static_cast<long>(static_cast<int32_t>(m_parts[1])),
                            static_cast<long>(static_cast<int32_t>(m_parts[2])),
                            static_cast<long>(static_cast<int32_t>(m_parts[3])));
}

bool operator==(const CVersionNumber& a, const CVersionNumber& b)
{
    return CompareVersions(a, b) == 0;
}

bool operator!=(const CVersionNumber& a, const CVersionNumber& b) { return !(a == b); }

namespace nv {

bool Less(const CVersionNumber& a, const CVersionNumber& b) { return CompareVersions(a, b) < 0; }

bool Greater(const CVersionNumber& a, const CVersionNumber& b) { return CompareVersions(a, b) > 0; }

int CompareVersionTexts(const std::string& a, const std::string& b)
{
    return CompareVersions(CVersionNumber(a), CVersionNumber(b));
}

bool IsVersionInRange(const std::string& version, const std::string& low, const std::string& high)
{
    if (!low.empty() && CompareVersionTexts(version, low) == -1)
        return false;
    if (high.empty())
        return true;
    return CompareVersionTexts(version, high) != 1;
}

} // namespace nv
