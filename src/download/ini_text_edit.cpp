#include "download/ini_text_edit.h"

#include "download/profile_blank.h"
#include "support/text.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace nv {

namespace {

const size_t kNoLine = static_cast<size_t>(-1);

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

// Text the platform would not split into the same lines as we do.
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

struct Line {
    size_t start = 0;
    size_t textEnd = 0;
    size_t next = 0;
    // Index of the line's new text in m_replacements, or kNoLine.
    size_t replacement = kNoLine;
};

// Added keys of all sections lie in one list, each section's chained in
// the order written: a list per section cost an allocation per section.
struct AddedKey {
    std::string key;
    std::string value;
    size_t next = kNoLine;
};

// Sections up to this many lines are searched line by line for a key; a
// larger one gets an index of its keys at its first write.
const size_t kScannedSectionLines = 32;

struct Section {
    std::string name;
    // The last non-blank line of the section; new keys follow it.
    size_t anchor = kNoLine;
    // The section's lines after its header: [firstLine, endLine).
    size_t firstLine = 0;
    size_t endLine = 0;
    bool indexed = false;
    // Made for the few sections that need them: most of a large file's
    // sections get no write or one.
    struct KeyIndex {
        std::unordered_map<std::string, size_t> existingKeys;
        std::unordered_map<std::string, size_t> addedKeys;
    };
    std::unique_ptr<KeyIndex> index;
    size_t firstAdded = kNoLine;
    size_t lastAdded = kNoLine;
    size_t addedCount = 0;

    KeyIndex& Index()
    {
        if (!index)
            index = std::make_unique<KeyIndex>();
        return *index;
    }
};

class IniTextEditor {
public:
    explicit IniTextEditor(const std::string& content) : m_content(content) { Parse(); }

    void Write(const std::string& sectionName, const std::string& key, const std::string& value)
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
        if (existing != kNoLine) {
            Line& line = m_lines[existing];
            if (line.replacement == kNoLine) {
                line.replacement = m_replacements.size();
                m_replacements.emplace_back();
            }
            m_replacements[line.replacement] = KeyNameOf(line) + "=" + value;
            return;
        }
        size_t added = FindAddedKey(section, key);
        if (added != kNoLine) {
            m_added[added].value = value;
            return;
        }
        const size_t fresh = m_added.size();
        m_added.push_back(AddedKey{key, value});
        if (section.lastAdded == kNoLine)
            section.firstAdded = fresh;
        else
            m_added[section.lastAdded].next = fresh;
        section.lastAdded = fresh;
        if (++section.addedCount > kScannedSectionLines) {
            auto& addedKeys = section.Index().addedKeys;
            if (!addedKeys.empty())
                addedKeys.emplace(FoldProfileName(key), fresh);
            else
                for (size_t i = section.firstAdded; i != kNoLine; i = m_added[i].next)
                    addedKeys.emplace(FoldProfileName(m_added[i].key), i);
        }
    }

    // Unchanged stretches of the text are copied whole.
    std::string Result() const
    {
        std::vector<size_t> sectionAtAnchor(m_lines.size(), kNoLine);
        for (size_t i = 0; i < m_sections.size(); ++i)
            if (m_sections[i].anchor != kNoLine && m_sections[i].addedCount != 0)
                sectionAtAnchor[m_sections[i].anchor] = i;

        // Room for every added line and its section's header: the text
        // growing past its room copied all of it again.
        size_t room = m_content.size() + 64;
        for (const AddedKey& added : m_added)
            room += added.key.size() + added.value.size() + 3;
        for (const std::string& replacement : m_replacements)
            room += replacement.size();
        for (const Section& section : m_sections)
            if (section.anchor == kNoLine && section.addedCount != 0)
                room += section.name.size() + 6;
        std::string out;
        out.reserve(room);
        size_t copied = 0;
        for (size_t i = 0; i < m_lines.size(); ++i) {
            const Line& line = m_lines[i];
            if (line.replacement != kNoLine) {
                out.append(m_content, copied, line.start - copied);
                out += m_replacements[line.replacement];
                copied = line.textEnd;
            }
            if (sectionAtAnchor[i] == kNoLine)
                continue;
            out.append(m_content, copied, line.next - copied);
            copied = line.next;
            if (line.next == line.textEnd)
                out += "\r\n";
            AppendKeys(m_sections[sectionAtAnchor[i]], out);
        }
        out.append(m_content, copied, std::string::npos);
        for (const Section& section : m_sections) {
            if (section.anchor != kNoLine || section.addedCount == 0)
                continue;
            if (!out.empty() && out.back() != '\n')
                out += "\r\n";
            out += "[" + section.name + "]\r\n";
            AppendKeys(section, out);
        }
        return out;
    }

private:
    void Parse()
    {
        // Lines before the first header form a section without a name that no
        // write can address.
        m_sections.emplace_back();
        m_lines.reserve(static_cast<size_t>(std::count(m_content.begin(), m_content.end(), '\n')) +
                        1);
        size_t position = 0;
        while (position < m_content.size()) {
            Line line;
            line.start = position;
            size_t newline = m_content.find('\n', position);
            line.next = newline == std::string::npos ? m_content.size() : newline + 1;
            line.textEnd = newline == std::string::npos ? m_content.size() : newline;
            if (line.textEnd > line.start && m_content[line.textEnd - 1] == '\r')
                --line.textEnd;
            position = line.next;
            m_lines.push_back(line);
            ClassifyLine(m_lines.size() - 1);
        }
        for (size_t i = 0; i < m_sections.size(); ++i)
            m_sections[i].endLine =
                i + 1 < m_sections.size() ? m_sections[i + 1].firstLine - 1 : m_lines.size();
        Reindex();
    }

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

    // The line's text without blanks at either end: [begin, end).
    void TrimmedText(const Line& line, size_t& begin, size_t& end) const
    {
        begin = line.start;
        end = line.textEnd;
        while (begin < end && IsProfileBlank(static_cast<unsigned char>(m_content[begin])))
            ++begin;
        while (end > begin && IsProfileBlank(static_cast<unsigned char>(m_content[end - 1])))
            --end;
    }

    // Keys are found when a write asks for them: most sections of a large
    // file are never written, and an index of every key made before the
    // first write cost as much as the rest of the write-back.
    void ClassifyLine(size_t index)
    {
        size_t begin = 0;
        size_t end = 0;
        TrimmedText(m_lines[index], begin, end);
        if (begin == end)
            return;
        if (m_content[begin] == '[') {
            size_t close = end;
            while (close > begin + 1 && m_content[close - 1] != ']')
                --close;
            if (close > begin + 1) {
                Section section;
                section.name = TrimProfileBlanks(m_content, begin + 1, close - 1);
                section.anchor = index;
                section.firstLine = index + 1;
                m_sections.push_back(std::move(section));
                return;
            }
        }
        // Every other line is a key to the platform, comments and lines
        // without "=" included (a value written to such a key replaces it).
        m_sections.back().anchor = index;
    }

    // The line of the section's first key named `key`, or kNoLine.
    size_t FindExistingKey(Section& section, const std::string& key)
    {
        if (section.indexed) {
            const auto& existingKeys = section.Index().existingKeys;
            auto found = existingKeys.find(FoldProfileName(key));
            return found == existingKeys.end() ? kNoLine : found->second;
        }
        if (section.endLine - section.firstLine > kScannedSectionLines) {
            auto& existingKeys = section.Index().existingKeys;
            for (size_t i = section.firstLine; i < section.endLine; ++i)
                if (IsKeyLine(m_lines[i]))
                    existingKeys.emplace(FoldProfileName(KeyNameOf(m_lines[i])), i);
            section.indexed = true;
            return FindExistingKey(section, key);
        }
        for (size_t i = section.firstLine; i < section.endLine; ++i)
            if (IsKeyLine(m_lines[i]) && KeyNameIs(m_lines[i], key))
                return i;
        return kNoLine;
    }

    // The key `key` among the section's added keys (its place in m_added),
    // or kNoLine. A few are compared one by one; past that an index is kept.
    size_t FindAddedKey(const Section& section, const std::string& key) const
    {
        if (section.index && !section.index->addedKeys.empty()) {
            const auto& addedKeys = section.index->addedKeys;
            auto found = addedKeys.find(FoldProfileName(key));
            return found == addedKeys.end() ? kNoLine : found->second;
        }
        for (size_t i = section.firstAdded; i != kNoLine; i = m_added[i].next)
            if (SameName(m_added[i].key, 0, m_added[i].key.size(), key))
                return i;
        return kNoLine;
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

    bool IsKeyLine(const Line& line) const
    {
        size_t begin = 0;
        size_t end = 0;
        TrimmedText(line, begin, end);
        return begin < end;
    }

    // Whether the line's key name, without its blanks, matches `key` as the
    // platform matches names.
    bool KeyNameIs(const Line& line, const std::string& key) const
    {
        size_t begin = line.start;
        size_t nameEnd = line.start;
        while (nameEnd < line.textEnd && m_content[nameEnd] != '=')
            ++nameEnd;
        while (begin < nameEnd && IsProfileBlank(static_cast<unsigned char>(m_content[begin])))
            ++begin;
        while (nameEnd > begin &&
               IsProfileBlank(static_cast<unsigned char>(m_content[nameEnd - 1])))
            --nameEnd;
        return SameName(m_content, begin, nameEnd, key);
    }

    std::string KeyNameOf(const Line& line) const
    {
        size_t nameEnd = line.start;
        while (nameEnd < line.textEnd && m_content[nameEnd] != '=')
            ++nameEnd;
        return TrimProfileBlanks(m_content, line.start, nameEnd);
    }

    void AppendKeys(const Section& section, std::string& out) const
    {
        for (size_t i = section.firstAdded; i != kNoLine; i = m_added[i].next) {
            const AddedKey& added = m_added[i];
            out += added.key;
            out += '=';
            out += added.value;
            out += "\r\n";
        }
    }

    const std::string& m_content;
    std::vector<Line> m_lines;
    std::vector<std::string> m_replacements;
    std::vector<Section> m_sections;
    std::vector<AddedKey> m_added;
    // Each a section's place plus one; 0 is free.
    std::vector<size_t> m_slots;
};

} // namespace

bool ApplyIniWrites(const std::string& content, const std::vector<IniWrite>& writes,
                    std::string& result)
{
    if (!IsPlainText(content))
        return false;
    IniTextEditor editor(content);
    for (const IniWrite& write : writes) {
        std::string section = TrimProfileBlanks(write.section, 0, write.section.size());
        std::string key = TrimProfileBlanks(write.key, 0, write.key.size());
        if (section.empty() || key.empty() || HasLineBreakOrZero(write.section) ||
            HasLineBreakOrZero(write.key) || HasLineBreakOrZero(write.value))
            return false;
        // The platform stores a value without its leading blanks.
        editor.Write(section, key, TrimLeadingBlanks(write.value));
    }
    result = editor.Result();
    return true;
}

} // namespace nv
