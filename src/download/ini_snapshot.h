// An INI file read once into memory, answering lookups as the platform's
// private-profile functions (GetPrivateProfileStringA/IntA) answer them: a
// value in matching quotes comes back without them, blanks around names and
// values are trimmed, names match without regard to case, the first of two
// equal keys wins, and a short buffer cuts the value. Reading a file of a
// few thousand sections key by key through the platform takes seconds; one
// read and one pass over its bytes takes well under a millisecond.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace nv {

class IniSnapshot {
public:
    // An unreadable or missing file gives a snapshot without sections.
    static IniSnapshot ReadFile(const std::string& path);
    // `content` as the file's bytes (a byte order mark selects UTF-8 or
    // UTF-16; without one the text is in the system code page).
    static IniSnapshot FromContent(const std::string& content);

    // The section names in file order, repeated names included, as the
    // private-profile read with a null section lists them.
    const std::vector<std::string>& SectionNames() const { return m_sectionNames; }

    // As GetPrivateProfileStringA(section, key, default, buffer, bufferSize).
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, size_t bufferSize) const;
    // As GetPrivateProfileIntA(section, key, default).
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const;

private:
    struct Key {
        std::string name;
        std::string value;
        bool hasValue = false;
    };
    struct Section {
        std::string name;
        std::vector<Key> keys;
        std::unordered_map<std::string, size_t> firstKey;
    };

    void Parse(const std::string& text);
    // The stored value of the key, or null when missing or without "=".
    const std::string* Find(const std::string& section, const std::string& key) const;

    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_firstSection;
    std::vector<std::string> m_sectionNames;
};

} // namespace nv
