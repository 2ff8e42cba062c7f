#include "download/ini_batch_writer.h"

#include "support/file_replace.h"
#include "support/text.h"

namespace nv {

namespace {

thread_local CIniBatchWriter* t_currentBatch = nullptr;

bool ReadFileBytes(const std::string& path, std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF;
    if (ok) {
        content.assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        ok = content.empty() ||
             (ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr) &&
              read == content.size());
    }
    CloseHandle(file);
    return ok;
}

bool WriteNewFile(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = content.empty() ||
              (WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written,
                         nullptr) &&
               written == content.size());
    ok = FlushFileBuffers(file) && ok;
    return CloseHandle(file) && ok;
}

bool WriteKeysOneByOne(const std::string& path, const std::vector<IniWrite>& writes)
{
    bool ok = true;
    for (const IniWrite& write : writes)
        ok = WritePrivateProfileStringA(write.section.c_str(), write.key.c_str(),
                                        write.value.c_str(), path.c_str()) &&
             ok;
    return ok;
}

} // namespace

BOOL WriteProfileKey(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value)
{
    if (CIniBatchWriter* batch = CIniBatchWriter::Current()) {
        batch->Add(path, section, key, value);
        return TRUE;
    }
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
}

CIniBatchWriter::CIniBatchWriter() : m_outer(t_currentBatch) { t_currentBatch = this; }

CIniBatchWriter::~CIniBatchWriter()
{
    t_currentBatch = m_outer;
    // An exception leaving a destructor ends the host process; writes that
    // cannot be made for want of memory are lost like any failed write.
    try {
        Apply();
    } catch (...) {
    }
}

CIniBatchWriter* CIniBatchWriter::Current() { return t_currentBatch; }

void CIniBatchWriter::Add(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value)
{
    // The same file may be named in different case (an item keeps its path
    // lower-cased, callers pass it as they have it).
    std::string folded = ToLower(path);
    FileWrites* target = nullptr;
    for (FileWrites& file : m_files)
        if (file.foldedPath == folded)
            target = &file;
    if (!target) {
        m_files.push_back(FileWrites{path, folded, {}});
        target = &m_files.back();
    }
    target->writes.push_back(IniWrite{section, key, value});
}

bool CIniBatchWriter::Apply()
{
    std::vector<FileWrites> files;
    files.swap(m_files);
    bool ok = true;
    for (const FileWrites& file : files)
        ok = WriteIniFile(file.path, file.writes) && ok;
    return ok;
}

bool WriteIniFile(const std::string& path, const std::vector<IniWrite>& writes)
{
    if (writes.empty())
        return true;
    std::string content;
    std::string text;
    if (!ReadFileBytes(path, content) || !ApplyIniWrites(content, writes, text))
        return WriteKeysOneByOne(path, writes);
    DWORD attributes = GetFileAttributesA(path.c_str());
    ReplaceOutcome outcome = ReplaceFileContent(
        path, "ndc", [&](const char* temporary) { return WriteNewFile(temporary, text); });
    // Where no file can be made beside it, the platform's own writes still can.
    if (outcome.failedStep == ReplaceStep::CreateTemporary)
        return WriteKeysOneByOne(path, writes);
    if (!outcome.Succeeded())
        return false;
    // The replacement is a new file: give it the attributes the old one had.
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(path.c_str(), attributes);
    return true;
}

} // namespace nv
