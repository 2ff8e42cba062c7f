// An INI file read once into memory, answering lookups as the platform's
// private-profile functions (GetPrivateProfileStringA/IntA) answer them: a
// value in matching quotes comes back without them, blanks around names and
// values are trimmed, names match without regard to the case of A-Z, the
// first of two equal keys wins, only the first of two equal sections is
// searched, and a short buffer cuts the value. Reading a file of a few
// thousand sections key by key through the platform takes seconds; one read
// and one pass over its bytes takes milliseconds.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace nv {

// The file that the private-profile functions use for `path`: a bare file
// name names a file in the Windows folder.
std::string ProfilePath(const std::string& path);

class IniSnapshot {
public:
    // The file at `path`, of at most `maxBytes`. A missing file gives a
    // snapshot without sections. False, with nothing read and the system's
    // code in `error` when given, for a larger file, no memory, or a file that
    // is there and cannot be read (another program holds it past the retries
    // of ReadSharedFile, access denied). A byte order mark selects UTF-8 or
    // UTF-16; without one the text is in the system code page. A bare file
    // name names a file in the Windows folder.
    static bool ReadFileWithin(const std::string& path, size_t maxBytes, IniSnapshot& snapshot,
                               DWORD* error = nullptr);
    // `content` parsed as it is, without decoding: the bytes of a file an
    // editor is to change.
    static IniSnapshot OfContent(std::string content);

    // The file's text in the system code page, as the lookups read it.
    const std::string& Text() const { return m_text; }
    // Whether Text() holds the file's bytes as read: a file that was there,
    // without a byte order mark.
    bool TextIsFileContent() const { return m_textIsContent; }

    // The section names in file order, repeated names included, as the
    // private-profile read with a null section lists them.
    const std::vector<std::string>& SectionNames() const { return m_sectionNames; }

    // As GetPrivateProfileStringA(section, key, default, buffer, bufferSize).
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, size_t bufferSize) const;
    // As GetPrivateProfileIntA(section, key, default).
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const;

    // Names and values are ranges of the file's text: a file of thousands of
    // sections is read without a string per key.
    struct Range {
        size_t begin = 0;
        size_t length = 0;
    };
    // A key line: its name and, when it has a "=", its value.
    struct Key {
        Range name;
        Range value;
        bool hasValue = false;
    };
    // A section's keys lie together in file order in Keys().
    struct Section {
        Range name;
        // Where the header's line begins.
        size_t header = 0;
        size_t firstKey = 0;
        size_t keyCount = 0;
    };
    // The parse, for an editor of the text: the lines before the first header
    // as a section without a name, then a section per header in file order,
    // repeated and empty names included.
    const std::vector<Section>& Sections() const { return m_sections; }
    const std::vector<Key>& Keys() const { return m_keys; }

    // The keys of one section (the first of that name); lookups answer as the
    // snapshot's. Valid while the snapshot lives.
    class SectionView {
    public:
        std::string GetString(const std::string& key, const std::string& defaultValue,
                              size_t bufferSize) const;
        int GetInt(const std::string& key, int defaultValue) const;

        // The value of one key as found by FindKeys; `found` false when the
        // key is missing or its first line has no "=".
        struct Value {
            Range stored;
            bool found = false;
            bool seen = false;
        };
        // The first key of each of `count` names (blank-free, of `lengths`)
        // into `values` (as constructed), found in one pass over the section's
        // keys: a lookup per name scans the keys once per name. A key is
        // compared only with the names of its length.
        void FindKeys(const char* const* names, const size_t* lengths, size_t count,
                      Value* values) const;
        // As GetString and GetInt for a value FindKeys found.
        std::string GetString(const Value& value, const std::string& defaultValue,
                              size_t bufferSize) const;
        int GetInt(const Value& value, int defaultValue) const;

    private:
        friend class IniSnapshot;
        SectionView(const IniSnapshot* file, const Section* section)
            : m_file(file), m_section(section)
        {
        }
        // The stored value of the key, or false when missing or without "=".
        bool Find(const std::string& key, Range& value) const;

        const IniSnapshot* m_file;
        const Section* m_section;
    };

    // The first section of the name. A walk from the front, which stops early
    // for the header: a file is asked for a few sections by name, and an
    // index of all of them cost more to build than the walks it saves.
    // Callers that walk all sections use ListedSection.
    SectionView FindSection(const std::string& section) const;
    // The keys of the section listed at `index` of SectionNames() itself, as
    // FindSection finds them when no earlier section has its name: a walk over
    // the listed sections needs no lookup by name.
    SectionView ListedSection(size_t index) const;

private:
    void Parse();

    std::string m_text;
    bool m_textIsContent = false;
    std::vector<Key> m_keys;
    std::vector<Section> m_sections;
    std::vector<std::string> m_sectionNames;
    // Where each listed section lies in m_sections.
    std::vector<size_t> m_listedSections;
};

} // namespace nv
