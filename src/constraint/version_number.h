// Four-part version values (major.minor.build.revision) as they appear in
// constraint attributes, download conditions and file version resources.
#pragma once

#include <cstdint>
#include <string>

class CVersionNumber {
public:
    // 0.0.0.0
    CVersionNumber();
    // Lenient by design: whatever the text holds, the result is a value.
    // "," separates like "."; pieces follow atoi rules; missing pieces are 0;
    // text after the fourth piece is ignored.
    explicit CVersionNumber(const std::string& text);
    CVersionNumber(uint32_t major, uint32_t minor, uint32_t build, uint32_t revision);

    // index 0 (major) to 3 (revision); any other index gives 0.
    uint32_t Part(int index) const;
    // Always "%ld.%ld.%ld.%ld" of the parts: callers have always seen parts of
    // 2^31 and above written as negative numbers, and compare these texts.
    const std::string& Text() const { return m_text; }

private:
    void UpdateText();

    uint32_t m_parts[4];
    std::string m_text;
};

// Parts compared as unsigned numbers, most significant first.
bool operator==(const CVersionNumber& a, const CVersionNumber& b);
bool operator!=(const CVersionNumber& a, const CVersionNumber& b);

namespace nv {

bool Less(const CVersionNumber& a, const CVersionNumber& b);
bool Greater(const CVersionNumber& a, const CVersionNumber& b);

// -1, 0 or 1 as a is less than, equal to or greater than b.
int CompareVersionTexts(const std::string& a, const std::string& b);

// Both bounds inclusive; an empty bound is open.
bool IsVersionInRange(const std::string& version, const std::string& low, const std::string& high);

} // namespace nv
