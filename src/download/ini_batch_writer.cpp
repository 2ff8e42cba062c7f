#include "download/ini_batch_writer.h"

#include "download/ini_snapshot.h"
#include "download/ini_write_back.h"
#include "support/file_replace.h"
#include "support/file_write_lock.h"
#include "support/shared_file.h"
#include "support/text.h"

namespace nv {

namespace {

DWORD LastErrorOr(DWORD fallback)
{
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

class DiskIniFile : public IniFileAccess {
public:
    // `known`, when given, is what the first parsed read gives.
    explicit DiskIniFile(const std::string& path, IniSnapshot* known = nullptr)
        : m_path(path), m_known(known)
    {
    }

    bool Read(std::string& content) override { return ReadSharedFile(m_path, content); }

    bool ReadParsed(IniSnapshot& parsed) override
    {
        if (!m_known)
            return IniFileAccess::ReadParsed(parsed);
        parsed = std::move(*m_known);
        m_known = nullptr;
        return true;
    }

    ReplaceOutcome Replace(const std::string& text, const std::string& basis) override
    {
        return ReplaceFileBytes(m_path, "ndc", text, [&] {
            std::string now;
            return ReadSharedFile(m_path, now) && now == basis;
        });
    }

    DWORD WriteKeys(const std::vector<IniWrite>& writes) override
    {
        DWORD result = ERROR_SUCCESS;
        for (const IniWrite& write : writes) {
            SetLastError(ERROR_SUCCESS);
            if (!WritePrivateProfileStringA(write.section.c_str(), write.key.c_str(),
                                            write.value.c_str(), m_path.c_str()) &&
                result == ERROR_SUCCESS)
                result = LastErrorOr(ERROR_WRITE_FAULT);
        }
        return result;
    }

private:
    std::string m_path;
    IniSnapshot* m_known;
};

// WriteIniFile for a caller that holds the file's lock; `known` as DiskIniFile takes it.
DWORD WriteLocked(const std::string& file, const std::vector<IniWrite>& writes, IniSnapshot* known)
{
    DiskIniFile disk(file, known);
    return WriteBack(disk, writes);
}

} // namespace

std::unique_ptr<IniFileAccess> IniFileOnDisk(const std::string& path)
{
    return std::make_unique<DiskIniFile>(path);
}

BOOL WriteProfileKey(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value)
{
    // Through the same replace as a batch: the platform rewrites the file in
    // place, and a merge loading it meanwhile would find it cut short.
    DWORD error = WriteIniFile(path, {IniWrite{section, key, value}});
    SetLastError(error);
    return error == ERROR_SUCCESS;
}

BOOL WriteProfileKeyTo(CIniBatchWriter* batch, const std::string& path, const std::string& section,
                       const std::string& key, const std::string& value)
{
    if (!batch)
        return WriteProfileKey(path, section, key, value);
    batch->Add(path, section, key, value);
    return TRUE;
}

CIniBatchWriter::~CIniBatchWriter() noexcept
{
    try {
        Apply();
    } catch (...) {
        // Out of memory while editing: the files keep their old text.
    }
}

void CIniBatchWriter::Add(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value)
{
    FileOf(path).writes.push_back(IniWrite{section, key, value});
}

void CIniBatchWriter::Holding(const std::string& path, std::optional<IniSnapshot> loaded)
{
    FileWrites& file = FileOf(path);
    file.locked = true;
    file.loaded = std::move(loaded);
}

CIniBatchWriter::FileWrites& CIniBatchWriter::FileOf(const std::string& path)
{
    // The same file may be named in different case (an item keeps its path
    // lower-cased, callers pass it as they have it). Writes come in runs for
    // one file and one spelling: the last file is looked at first, and the
    // spelling that found it last is compared byte for byte before any case
    // is folded.
    for (auto file = m_files.rbegin(); file != m_files.rend(); ++file) {
        if (file->spelling == path)
            return *file;
        if (EqualsNoCase(file->path, path)) {
            file->spelling = path;
            return *file;
        }
    }
    m_files.emplace_back();
    m_files.back().path = path;
    m_files.back().spelling = path;
    return m_files.back();
}

DWORD CIniBatchWriter::Apply()
{
    std::vector<FileWrites> files;
    files.swap(m_files);
    DWORD result = ERROR_SUCCESS;
    for (FileWrites& file : files) {
        DWORD error = file.writes.empty() ? ERROR_SUCCESS
                      : file.locked       ? WriteLocked(ProfilePath(file.path), file.writes,
                                                  file.loaded ? &*file.loaded : nullptr)
                                          : WriteIniFile(file.path, file.writes);
        if (result == ERROR_SUCCESS)
            result = error;
    }
    return result;
}

DWORD WriteIniFile(const std::string& path, const std::vector<IniWrite>& writes)
{
    if (writes.empty())
        return ERROR_SUCCESS;
    const std::string file = ProfilePath(path);
    CFileWriteLock lock(file);
    if (!lock.IsHeld())
        return lock.Error();
    return WriteLocked(file, writes, nullptr);
}

} // namespace nv
