#include "news/news_state.h"

#include "news/news_files.h"

#include <windows.h>

namespace {

std::wstring WideText(const nv::BstrText& text)
{
    return std::wstring(text.Get() ? text.Get() : L"", text.Length());
}

} // namespace

NewsStateRecords::NewsStateRecords(const std::string& statePath)
{
    if (!PathExists(statePath))
        return;
    try {
        m_document.Load(statePath);
    } catch (const nv::ComError&) {
        DeleteFileA(statePath.c_str());
        return;
    }
    m_loaded = true;
    CNvXmlNodeList records = m_document.SelectNodes("channel/item");
    while (records.Next()) {
        CNvXmlNode record = records.GetCurrent();
        CNvXmlNodeList guids = record.SelectNodes("guid");
        // A record matches through any of its guids, and the first record wins.
        while (guids.Next())
            m_records.emplace(WideText(guids.GetCurrent().GetText()), record);
    }
}

CNvXmlNode NewsStateRecords::Find(const nv::BstrText& guid) const
{
    auto found = m_records.find(WideText(guid));
    return found == m_records.end() ? CNvXmlNode() : found->second;
}

bool IsMarkSet(const CNvXmlNode& record, const char* name)
{
    return !record.SelectSingleNode("%s[.='1']", name).IsEmpty();
}
