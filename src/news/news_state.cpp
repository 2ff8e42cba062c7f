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

// True when the file could be read and did not parse, also under the lock
// that writers hold: a file that cannot be opened for the moment (another
// program has it exclusively) or that a writer has just replaced is kept.
bool IsUnparseable(const std::string& statePath)
{
    nv::CFileWriteLock lock(statePath);
    std::string content;
    if (!lock.IsHeld() || !nv::ReadSharedFile(statePath, content))
        return false;
    try {
        CNvXmlDocument().Load(statePath);
        return false;
    } catch (const nv::ComError&) {
        return true;
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
        if (IsUnparseable(statePath))
            DeleteFileA(statePath.c_str());
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
