#include "download/ini_text_edit.h"

#include "download/ini_snapshot.h"
#include "download/profile_blank.h"
#include "support/text.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace nv {

namespace {

const size_t kNone = static_cast<size_t>(-1);

std::string TrimLeadingBlanks(const std::string& text)
{
    size_t begin = 0;
    while (begin < text.size() && IsProfileBlank(static_cast<unsigned char>(text[begin])))
        ++begin;
    return text.substr(begin);
}

bool HasLineBreakOrZero(const std::string& text)
{
    // A loop of its own: find_first_of calls memchr per character.
    for (char c : text)
        if (c == '\r' || c == '\n' || c == '\0')
            return true;
    return false;
}

// Text the platform would not split into the same lines as our reader.
bool IsPlainText(const std::string& content)
{
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0 || content.compare(0, 2, "\xFF\xFE") == 0 ||
        content.compare(0, 2, "\xFE\xFF") == 0)
        return false;
    for (size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '\0')
            return false;
        if (content[i] == '\r' && (i + 1 >= content.size() || content[i + 1] != '\n'))
            return false;
    }
    return true;
}

// Added keys of all sections lie in one list, each section's chained in
// the order written: a list per section cost an allocation per section.
struct AddedKey {
    std::string key;
    std::string value;
    size_t next = kNone;
};

// Sections up to this many keys are searched key by key; a larger one gets
// an index of its keys at its first write.
const size_t kScannedSectionKeys = 32;

struct Section {
    std::string name;
    // Where keys added to it go: right after the line break of its last
    // non-blank line (kNone for a section the writes add), and whether that
    // line ends the text without a line break of its own.
    size_t insertAt = kNone;
    bool breakFirst = false;
    // Its key lines in the parse.
    size_t firstKey = 0;
    size_t keyCount = 0;
    bool indexed = false;
    // Made for the few sections that need them: most of a large file's
    // sections get no write or one.
    struct KeyIndex {
        std::unordered_map<std::string, size_t> existingKeys;
        std::unordered_map<std::string, size_t> addedKeys;
    };
    std::unique_ptr<KeyIndex> index;
    size_t firstAdded = kNone;
    size_t lastAdded = kNone;
    size_t addedCount = 0;

    KeyIndex& Index()
    {
        if (!index)
            index = std::make_unique<KeyIndex>();
        return *index;
    }
};

// A key line given a new value.
struct Replacement {
    size_t key;
    std::string text;
};

// Works on the parse the text was read with: the module's reader and the
// platform cut plain text into the same lines, sections and keys, and
// parsing the file a second time for the write cost as much as the rest of
// the write-back.
class IniTextEditor {
public:
    // Room is made for `writes` added keys.
    IniTextEditor(const IniSnapshot& parsed, size_t writes)
        : m_content(parsed.Text()), m_keys(parsed.Keys())
    {
        m_added.reserve(writes);
        const std::vector<IniSnapshot::Section>& sections = parsed.Sections();
        m_sections.resize(sections.size());
        for (size_t i = 0; i < sections.size(); ++i) {
            const IniSnapshot::Section& read = sections[i];
            Section& section = m_sections[i];
            section.name.assign(m_content, read.name.begin, read.name.length);
            section.firstKey = read.firstKey;
            section.keyCount = read.keyCount;
            // Its last key line, else its header; the lines before the first
            // header have none.
            size_t last = read.keyCount != 0 ? m_keys[read.firstKey + read.keyCount - 1].name.begin
                          : i != 0           ? read.header
                                             : kNone;
            if (last == kNone)
                continue;
            size_t textEnd = 0;
            LineEnd(last, textEnd, section.insertAt);
            section.breakFirst = section.insertAt == textEnd;
        }
        Reindex();
    }

    void Write(const std::string& sectionName, std::string key, std::string value)
    {
        size_t& slot = SlotOf(sectionName);
        size_t place = slot - 1;
        if (slot == 0) {
            place = m_sections.size();
            m_sections.emplace_back();
            m_sections.back().name = sectionName;
            m_sections.back().indexed = true;
            if (2 * m_sections.size() > m_slots.size())
                Reindex();
            else
                slot = place + 1;
        }
        Section& section = m_sections[place];
        size_t existing = FindExistingKey(section, key);
        if (existing != kNone) {
            if (m_replacementOf.empty())
                m_replacementOf.assign(m_keys.size(), kNone);
            size_t& replacement = m_replacementOf[existing];
            if (replacement == kNone) {
                replacement = m_replacements.size();
                m_replacements.push_back(Replacement{existing, std::string()});
            }
            m_replacements[replacement].text = NameOf(m_keys[existing]) + "=" + value;
            return;
        }
        size_t added = FindAddedKey(section, key);
        if (added != kNone) {
            m_added[added].value = std::move(value);
            return;
        }
        const size_t fresh = m_added.size();
        m_added.push_back(AddedKey{std::move(key), std::move(value)});
        if (section.lastAdded == kNone)
            section.firstAdded = fresh;
        else
            m_added[section.lastAdded].next = fresh;
        section.lastAdded = fresh;
        if (++section.addedCount > kScannedSectionKeys) {
            auto& addedKeys = section.Index().addedKeys;
            if (!addedKeys.empty())
                addedKeys.emplace(FoldProfileName(m_added[fresh].key), fresh);
            else
                for (size_t i = section.firstAdded; i != kNone; i = m_added[i].next)
                    addedKeys.emplace(FoldProfileName(m_added[i].key), i);
        }
    }

    // Unchanged stretches of the text are copied whole.
    std::string Result() const
    {
        // Each change at its place in the text: a replaced line from its
        // start to its line break, added keys after the line break of their
        // section's last line. No two share a place.
        struct Change {
            size_t at;
            size_t resume;
            size_t replacement;
            size_t section;
        };
        std::vector<Change> changes;
        changes.reserve(m_replacements.size() + m_sections.size());
        for (size_t i = 0; i < m_replacements.size(); ++i) {
            const size_t name = m_keys[m_replacements[i].key].name.begin;
            size_t textEnd = 0;
            size_t next = 0;
            LineEnd(name, textEnd, next);
            size_t start = name;
            while (start > 0 && m_content[start - 1] != '\n')
                --start;
            changes.push_back(Change{start, textEnd, i, kNone});
        }
        for (size_t i = 0; i < m_sections.size(); ++i)
            if (m_sections[i].insertAt != kNone && m_sections[i].addedCount != 0)
                changes.push_back(Change{m_sections[i].insertAt, m_sections[i].insertAt, kNone, i});
        std::sort(changes.begin(), changes.end(),
                  [](const Change& a, const Change& b) { return a.at < b.at; });

        // Room for every added line and its section's header: the text
        // growing past its room copied all of it again.
        size_t room = m_content.size() + 64;
        for (const AddedKey& added : m_added)
            room += added.key.size() + added.value.size() + 3;
        for (const Replacement& replacement : m_replacements)
            room += replacement.text.size();
        for (const Section& section : m_sections)
            if (section.insertAt == kNone && section.addedCount != 0)
                room += section.name.size() + 6;
        std::string out;
        out.reserve(room);
        size_t copied = 0;
        for (const Change& change : changes) {
            out.append(m_content, copied, change.at - copied);
            copied = change.resume;
            if (change.replacement != kNone) {
                out += m_replacements[change.replacement].text;
                continue;
            }
            if (m_sections[change.section].breakFirst)
                out += "\r\n";
            AppendKeys(m_sections[change.section], out);
        }
        out.append(m_content, copied, std::string::npos);
        for (const Section& section : m_sections) {
            if (section.insertAt != kNone || section.addedCount == 0)
                continue;
            if (!out.empty() && out.back() != '\n')
                out += "\r\n";
            out += "[" + section.name + "]\r\n";
            AppendKeys(section, out);
        }
        return out;
    }

private:
    // Sections by folded name in open addressing, the first of a name
    // winning: a map node and a folded copy per section cost as much as
    // splitting the text into lines.
    size_t& SlotOf(const std::string& name)
    {
        // FNV-1a over the folded name.
        size_t hash = 2166136261u;
        for (char c : name)
            hash = (hash ^ static_cast<unsigned char>(FoldProfileChar(c))) * 16777619u;
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            size_t& slot = m_slots[i];
            if (slot == 0 ||
                SameName(m_sections[slot - 1].name, 0, m_sections[slot - 1].name.size(), name))
                return slot;
        }
    }

    // Every named section indexed anew, in file order; at most half the
    // slots are taken, so a search always meets an empty one.
    void Reindex()
    {
        size_t size = 16;
        while (size < 4 * m_sections.size())
            size *= 2;
        m_slots.assign(size, 0);
        for (size_t i = 1; i < m_sections.size(); ++i) {
            size_t& slot = SlotOf(m_sections[i].name);
            if (slot == 0)
                slot = i + 1;
        }
    }

    // The line holding `position`: where its text ends (before its CR LF or
    // LF) and where the next line begins.
    void LineEnd(size_t position, size_t& textEnd, size_t& next) const
    {
        const size_t newline = m_content.find('\n', position);
        textEnd = newline == std::string::npos ? m_content.size() : newline;
        next = newline == std::string::npos ? m_content.size() : newline + 1;
        if (textEnd > position && m_content[textEnd - 1] == '\r')
            --textEnd;
    }

    // The section's first key named `key` (its place in the parse), or kNone.
    size_t FindExistingKey(Section& section, const std::string& key)
    {
        if (section.indexed) {
            const auto& existingKeys = section.Index().existingKeys;
            auto found = existingKeys.find(FoldProfileName(key));
            return found == existingKeys.end() ? kNone : found->second;
        }
        const size_t end = section.firstKey + section.keyCount;
        if (section.keyCount > kScannedSectionKeys) {
            auto& existingKeys = section.Index().existingKeys;
            for (size_t i = section.firstKey; i < end; ++i)
                existingKeys.emplace(FoldProfileName(NameOf(m_keys[i])), i);
            section.indexed = true;
            return FindExistingKey(section, key);
        }
        for (size_t i = section.firstKey; i < end; ++i)
            if (SameName(m_content, m_keys[i].name.begin,
                         m_keys[i].name.begin + m_keys[i].name.length, key))
                return i;
        return kNone;
    }

    // The key `key` among the section's added keys (its place in m_added),
    // or kNone. A few are compared one by one; past that an index is kept.
    size_t FindAddedKey(const Section& section, const std::string& key) const
    {
        if (section.index && !section.index->addedKeys.empty()) {
            const auto& addedKeys = section.index->addedKeys;
            auto found = addedKeys.find(FoldProfileName(key));
            return found == addedKeys.end() ? kNone : found->second;
        }
        for (size_t i = section.firstAdded; i != kNone; i = m_added[i].next)
            if (SameName(m_added[i].key, 0, m_added[i].key.size(), key))
                return i;
        return kNone;
    }

    // Whether text[begin, end) names `key` as the platform matches names.
    static bool SameName(const std::string& text, size_t begin, size_t end, const std::string& key)
    {
        if (end - begin != key.size())
            return false;
        for (size_t i = 0; i < key.size(); ++i)
            if (FoldProfileChar(text[begin + i]) != FoldProfileChar(key[i]))
                return false;
        return true;
    }

    // A key line's name as the file spells it, without its blanks.
    std::string NameOf(const IniSnapshot::Key& key) const
    {
        return m_content.substr(key.name.begin, key.name.length);
    }

    void AppendKeys(const Section& section, std::string& out) const
    {
        for (size_t i = section.firstAdded; i != kNone; i = m_added[i].next) {
            const AddedKey& added = m_added[i];
            out += added.key;
            out += '=';
            out += added.value;
            out += "\r\n";
        }
    }

    const std::string& m_content;
    const std::vector<IniSnapshot::Key>& m_keys;
    std::vector<Replacement> m_replacements;
    // Per key line of the parse, its replacement's place, or kNone; made at
    // the first replacement.
    std::vector<size_t> m_replacementOf;
    std::vector<Section> m_sections;
    std::vector<AddedKey> m_added;
    // Each a section's place plus one; 0 is free.
    std::vector<size_t> m_slots;
};

} // namespace

bool ApplyIniWrites(const IniSnapshot& parsed, const std::vector<IniWrite>& writes,
                    std::string& result)
{
    if (!parsed.TextIsFileContent() || !IsPlainText(parsed.Text()))
        return false;
    IniTextEditor editor(parsed, writes.size());
    for (const IniWrite& write : writes) {
        std::string section = TrimProfileBlanks(write.section, 0, write.section.size());
        std::string key = TrimProfileBlanks(write.key, 0, write.key.size());
        if (section.empty() || key.empty() || HasLineBreakOrZero(write.section) ||
            HasLineBreakOrZero(write.key) || HasLineBreakOrZero(write.value))
            return false;
        // The platform stores a value without its leading blanks.
        editor.Write(section, std::move(key), TrimLeadingBlanks(write.value));
    }
    result = editor.Result();
    return true;
}

} // namespace nv
