#include "news/news_state.h"

#include "news/child_elements.h"
#include "news/news_files.h"
#include "support/file_status.h"
#include "support/file_write_lock.h"
#include "support/shared_file.h"
#include "xml/nv_xml_document.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace nv {

namespace {

std::wstring WideText(const nv::BstrText& text)
{
    return std::wstring(text.Get() ? text.Get() : L"", text.Length());
}

// Deletes the file when its content, read under the lock that writers hold,
// does not parse. A file that cannot be opened for the moment (another
// program has it exclusively) or that a writer has just replaced is kept, and
// so is one whose parse failed for want of memory or of a parser.
void DeleteIfUnparseable(const std::string& statePath)
{
    nv::CFileWriteLock lock(statePath);
    std::string content;
    if (!lock.IsHeld() || !nv::ReadSharedFile(statePath, content))
        return;
    try {
        CNvXmlDocument().LoadContent(content);
    } catch (const NvXmlClass::NvXmlParseError& error) {
        if (error.Error() != E_OUTOFMEMORY)
            DeleteFileA(statePath.c_str());
    } catch (const nv::ComError&) {
    }
}

} // namespace

NewsStateRecords::NewsStateRecords(const std::string& statePath)
{
    if (!nv::HasFileStatus(statePath))
        return;
    CNvXmlDocument state;
    try {
        state.Load(statePath);
    } catch (const nv::ComError&) {
        DeleteIfUnparseable(statePath);
        return;
    }
    m_loaded = true;
    CNvXmlNodeList records = state.SelectNodes("channel/item");
    while (records.Next()) {
        NewsMarks marks;
        std::vector<std::wstring> guids;
        ForEachChildElement(records.GetCurrent(), [&](IXMLDOMNode* child, BSTR name) {
            if (std::wcscmp(name, L"guid") == 0)
                guids.push_back(WideText(CNvXmlNode(child).GetText()));
            else if (std::wcscmp(name, L"read") == 0)
                marks.read = marks.read || HasValueOne(child);
            else if (std::wcscmp(name, L"dontshow") == 0)
                marks.hidden = marks.hidden || HasValueOne(child);
        });
        // A record matches through any of its guids, and the first record wins.
        for (const std::wstring& guid : guids)
            m_records.emplace(guid, marks);
    }
}

const NewsMarks* NewsStateRecords::Find(const nv::BstrText& guid) const
{
    auto found = m_records.find(WideText(guid));
    return found == m_records.end() ? nullptr : &found->second;
}

} // namespace nv
