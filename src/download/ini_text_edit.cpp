#include "download/ini_text_edit.h"

#include "download/profile_blank.h"
#include "support/text.h"

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
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
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
    bool replaced = false;
    std::string text;
};

struct AddedKey {
    std::string key;
    std::string value;
};

struct Section {
    std::string name;
    // The last non-blank line of the section; new keys follow it.
    size_t anchor = kNoLine;
    std::unordered_map<std::string, size_t> existingKeys;
    std::unordered_map<std::string, size_t> addedKeys;
    std::vector<AddedKey> added;
};

class IniTextEditor {
public:
    explicit IniTextEditor(const std::string& content) : m_content(content) { Parse(); }

    void Write(const std::string& sectionName, const std::string& key, const std::string& value)
    {
        std::string folded = FoldProfileName(sectionName);
        auto found = m_sectionIndex.find(folded);
        if (found == m_sectionIndex.end()) {
            found = m_sectionIndex.emplace(folded, m_sections.size()).first;
            m_sections.emplace_back();
            m_sections.back().name = sectionName;
        }
        Section& section = m_sections[found->second];
        std::string foldedKey = FoldProfileName(key);
        auto existing = section.existingKeys.find(foldedKey);
        if (existing != section.existingKeys.end()) {
            Line& line = m_lines[existing->second];
            line.replaced = true;
            line.text = KeyNameOf(line) + "=" + value;
            return;
        }
        auto added = section.addedKeys.find(foldedKey);
        if (added != section.addedKeys.end()) {
            section.added[added->second].value = value;
            return;
        }
        section.addedKeys.emplace(foldedKey, section.added.size());
        section.added.push_back(AddedKey{key, value});
    }

    std::string Result() const
    {
        std::vector<size_t> sectionAtAnchor(m_lines.size(), kNoLine);
        for (size_t i = 0; i < m_sections.size(); ++i)
            if (m_sections[i].anchor != kNoLine)
                sectionAtAnchor[m_sections[i].anchor] = i;

        std::string out;
        out.reserve(m_content.size() + m_content.size() / 8 + 64);
        for (size_t i = 0; i < m_lines.size(); ++i) {
            const Line& line = m_lines[i];
            if (line.replaced)
                out += line.text;
            else
                out.append(m_content, line.start, line.textEnd - line.start);
            out.append(m_content, line.textEnd, line.next - line.textEnd);
            if (sectionAtAnchor[i] == kNoLine || m_sections[sectionAtAnchor[i]].added.empty())
                continue;
            if (line.next == line.textEnd)
                out += "\r\n";
            AppendKeys(m_sections[sectionAtAnchor[i]], out);
        }
        for (const Section& section : m_sections) {
            if (section.anchor != kNoLine || section.added.empty())
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
    }

    void ClassifyLine(size_t index)
    {
        const Line& line = m_lines[index];
        std::string text = TrimProfileBlanks(m_content, line.start, line.textEnd);
        if (text.empty())
            return;
        size_t close = text.rfind(']');
        if (text[0] == '[' && close != std::string::npos && close > 0) {
            Section section;
            section.name = TrimProfileBlanks(text, 1, close);
            section.anchor = index;
            m_sectionIndex.emplace(FoldProfileName(section.name), m_sections.size());
            m_sections.push_back(std::move(section));
            return;
        }
        // Every other line is a key to the platform, comments and lines
        // without "=" included (a value written to such a key replaces it).
        Section& section = m_sections.back();
        section.existingKeys.emplace(FoldProfileName(KeyNameOf(line)), index);
        section.anchor = index;
    }

    std::string KeyNameOf(const Line& line) const
    {
        size_t nameEnd = line.start;
        while (nameEnd < line.textEnd && m_content[nameEnd] != '=')
            ++nameEnd;
        return TrimProfileBlanks(m_content, line.start, nameEnd);
    }

    static void AppendKeys(const Section& section, std::string& out)
    {
        for (const AddedKey& added : section.added)
            out += added.key + "=" + added.value + "\r\n";
    }

    const std::string& m_content;
    std::vector<Line> m_lines;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex;
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
