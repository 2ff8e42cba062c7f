#include "download/ini_snapshot.h"

#include "download/ini_lines.h"
#include "download/profile_blank.h"
#include "support/file_status.h"
#include "support/shared_file.h"
#include "support/text.h"

#include <windows.h>

#include <algorithm>

namespace nv {

namespace {

std::string TrimBlanks(const std::string& text) { return TrimProfileBlanks(text, 0, text.size()); }

// Not the support layer's WideToAnsi, which ends the text at its first zero:
// the platform reads a UTF-16 profile file whole, and its lines after a zero
// still count. The parse below stops each name and value at a zero instead.
std::string WideToCodePage(const WCHAR* text, int length)
{
    if (length <= 0)
        return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text, length, &result[0], size, nullptr, nullptr);
    return result;
}

// The file's text in the system code page, decoded by its byte order mark;
// `decoded` tells whether it had one.
std::string DecodeContent(std::string content, bool& decoded)
{
    decoded = true;
    if (content.size() >= 3 && content.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        int size = MultiByteToWideChar(CP_UTF8, 0, content.data() + 3,
                                       static_cast<int>(content.size() - 3), nullptr, 0);
        std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
        if (size > 0)
            MultiByteToWideChar(CP_UTF8, 0, content.data() + 3,
                                static_cast<int>(content.size() - 3), &wide[0], size);
        return WideToCodePage(wide.data(), static_cast<int>(wide.size()));
    }
    bool little = content.size() >= 2 && content.compare(0, 2, "\xFF\xFE") == 0;
    bool big = content.size() >= 2 && content.compare(0, 2, "\xFE\xFF") == 0;
    if (!little && !big) {
        decoded = false;
        return content;
    }
    std::wstring wide;
    for (size_t i = 2; i + 1 < content.size(); i += 2) {
        unsigned char a = static_cast<unsigned char>(content[i]);
        unsigned char b = static_cast<unsigned char>(content[i + 1]);
        wide.push_back(static_cast<WCHAR>(little ? (a | (b << 8)) : ((a << 8) | b)));
    }
    return WideToCodePage(wide.data(), static_cast<int>(wide.size()));
}

} // namespace

std::string ProfilePath(const std::string& path)
{
    if (path.find_first_of("\\/") != std::string::npos)
        return path;
    char folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return path;
    return std::string(folder, length) + "\\" + path;
}

bool IniSnapshot::ReadFileWithin(const std::string& path, size_t maxBytes, IniSnapshot& snapshot,
                                 DWORD* error)
{
    snapshot = IniSnapshot();
    std::string content;
    DWORD code = ERROR_SUCCESS;
    const std::string file = ProfilePath(path);
    // Measured on the open file: one that grows after a status check still counts.
    if (!nv::ReadSharedFile(file, content, &code, maxBytes)) {
        // Read as empty, a file that another program holds for a moment would
        // have its recorded state overwritten with fresh decisions.
        if (error)
            *error = code;
        return !nv::HasFileStatus(file);
    }
    bool decoded = false;
    snapshot.m_text = DecodeContent(std::move(content), decoded);
    snapshot.m_textIsContent = !decoded;
    snapshot.Parse();
    return true;
}

IniSnapshot IniSnapshot::OfContent(std::string content)
{
    IniSnapshot snapshot;
    snapshot.m_text = std::move(content);
    snapshot.m_textIsContent = true;
    snapshot.Parse();
    return snapshot;
}

void IniSnapshot::Parse()
{
    // Lines before the first section header belong to a section without a
    // name, which is never listed but answers to the empty section name.
    m_sections.push_back(Section());
    // About one key per 25 bytes in typical files; saves most regrowth
    // without reserving much for a large file that is no INI text.
    m_keys.reserve(std::min<size_t>(m_text.size() / 25, 100000));
    ScanIniLines(
        m_text,
        [this](IniSpan name, size_t lineBegin) {
            // A section without a name is never listed.
            if (name.length != 0) {
                m_sectionNames.push_back(m_text.substr(name.begin, name.length));
                m_listedSections.push_back(m_sections.size());
            }
            Section section;
            section.name = {name.begin, name.length};
            section.header = lineBegin;
            section.firstKey = m_keys.size();
            m_sections.push_back(section);
        },
        [this](IniSpan name, bool hasValue, IniSpan value) {
            Key key;
            key.name = {name.begin, name.length};
            key.value = {value.begin, value.length};
            key.hasValue = hasValue;
            m_keys.push_back(key);
            ++m_sections.back().keyCount;
        });
}

IniSnapshot::SectionView IniSnapshot::FindSection(const std::string& section) const
{
    // Only the first section of a name is searched, as the platform does.
    const std::string name = TrimBlanks(section);
    if (name.empty())
        return SectionView(this, &m_sections.front());
    for (size_t index = 0; index < m_sectionNames.size(); ++index) {
        const std::string& listed = m_sectionNames[index];
        if (listed.size() != name.size())
            continue;
        size_t i = 0;
        while (i < name.size() && FoldProfileChar(listed[i]) == FoldProfileChar(name[i]))
            ++i;
        if (i == name.size())
            return ListedSection(index);
    }
    return SectionView(this, nullptr);
}

IniSnapshot::SectionView IniSnapshot::ListedSection(size_t index) const
{
    return SectionView(this, &m_sections[m_listedSections[index]]);
}

bool IniSnapshot::SectionView::Find(const std::string& key, Range& value) const
{
    if (!m_section)
        return false;
    size_t begin = 0;
    size_t end = key.size();
    while (begin < end && IsProfileBlank(static_cast<unsigned char>(key[begin])))
        ++begin;
    while (end > begin && IsProfileBlank(static_cast<unsigned char>(key[end - 1])))
        --end;
    const size_t length = end - begin;
    const char* text = m_file->m_text.data();
    // The first key of the name wins.
    for (size_t index = 0; index < m_section->keyCount; ++index) {
        const Key& entry = m_file->m_keys[m_section->firstKey + index];
        if (entry.name.length != length)
            continue;
        const char* name = text + entry.name.begin;
        size_t i = 0;
        while (i < length && FoldProfileChar(name[i]) == FoldProfileChar(key[begin + i]))
            ++i;
        if (i < length)
            continue;
        if (!entry.hasValue)
            return false;
        value = entry.value;
        return true;
    }
    return false;
}

void IniSnapshot::SectionView::FindKeys(const char* const* names, const size_t* lengths,
                                        size_t count, Value* values) const
{
    if (!m_section)
        return;
    const char* text = m_file->m_text.data();
    for (size_t index = 0; index < m_section->keyCount; ++index) {
        const Key& entry = m_file->m_keys[m_section->firstKey + index];
        const char* name = text + entry.name.begin;
        const size_t length = entry.name.length;
        for (size_t n = 0; n < count; ++n) {
            if (lengths[n] != length)
                continue;
            const char* wanted = names[n];
            size_t i = 0;
            while (i < length && FoldProfileChar(name[i]) == FoldProfileChar(wanted[i]))
                ++i;
            if (i < length)
                continue;
            // The first key of the name wins, also when it has no value.
            if (!values[n].seen) {
                values[n].seen = true;
                values[n].found = entry.hasValue;
                values[n].stored = entry.value;
            }
            break;
        }
    }
}

std::string IniSnapshot::SectionView::GetString(const std::string& key,
                                                const std::string& defaultValue,
                                                size_t bufferSize) const
{
    Value value;
    value.found = Find(key, value.stored);
    return GetString(value, defaultValue, bufferSize);
}

std::string IniSnapshot::SectionView::GetString(const Value& stored,
                                                const std::string& defaultValue,
                                                size_t bufferSize) const
{
    if (bufferSize == 0)
        return std::string();
    std::string value;
    if (stored.found) {
        value.assign(m_file->m_text, stored.stored.begin, stored.stored.length);
    } else {
        value = defaultValue;
        while (!value.empty() && value.back() == ' ')
            value.pop_back();
    }
    // A value in matching quotes loses them; the closing quote goes only
    // when the whole value fits the buffer.
    bool quoted =
        value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (quoted)
        value.erase(0, 1);
    const size_t length = value.size();
    if (length > bufferSize - 1)
        value.resize(bufferSize - 1);
    if (quoted && bufferSize >= length && !value.empty())
        value.pop_back();
    return value;
}

int IniSnapshot::SectionView::GetInt(const std::string& key, int defaultValue) const
{
    Value value;
    value.found = Find(key, value.stored);
    return GetInt(value, defaultValue);
}

int IniSnapshot::SectionView::GetInt(const Value& value, int defaultValue) const
{
    // Most of an item's numbers are not in its section.
    if (!value.found)
        return defaultValue;
    // The platform reads the text into a buffer of 30 characters first.
    std::string text = GetString(value, std::string(), 30);
    if (text.empty())
        return defaultValue;
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool minus = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        minus = text[i] == '-';
        ++i;
    }
    // The platform's conversion honours the prefixes 0b, 0o and 0x even
    // when asked for decimal.
    unsigned long base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        char marker = text[i + 1];
        base = marker == 'b' ? 2 : marker == 'o' ? 8 : marker == 'x' ? 16 : 10;
        if (base != 10)
            i += 2;
    }
    unsigned long total = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        unsigned long digit = c >= '0' && c <= '9'   ? static_cast<unsigned long>(c - '0')
                              : c >= 'a' && c <= 'z' ? static_cast<unsigned long>(c - 'a' + 10)
                              : c >= 'A' && c <= 'Z' ? static_cast<unsigned long>(c - 'A' + 10)
                                                     : base;
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    return static_cast<int>(minus ? 0 - total : total);
}

std::string IniSnapshot::GetString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, size_t bufferSize) const
{
    return FindSection(section).GetString(key, defaultValue, bufferSize);
}

int IniSnapshot::GetInt(const std::string& section, const std::string& key, int defaultValue) const
{
    return FindSection(section).GetInt(key, defaultValue);
}

} // namespace nv
