#include "download/download_item_group.h"

#include "support/text.h"

CDownloadItemGroup::CDownloadItemGroup() = default;

CDownloadItemGroup::~CDownloadItemGroup() = default;

void CDownloadItemGroup::AddMember(std::unique_ptr<CDownloadItem> item)
{
    if (item)
        m_aMembers.push_back(std::move(item));
}

void CDownloadItemGroup::ResetCursor()
{
    m_nCursor = 0;
    for (auto& member : m_aMembers) {
        if (auto* group = dynamic_cast<CDownloadItemGroup*>(member.get()))
            group->ResetCursor();
    }
}

CDownloadItem* CDownloadItemGroup::GetCurrent() const
{
    if (m_nCursor < 0 || static_cast<size_t>(m_nCursor) >= m_aMembers.size())
        return nullptr;
    return m_aMembers[static_cast<size_t>(m_nCursor)].get();
}

BOOL CDownloadItemGroup::MoveNext()
{
    CDownloadItem* current = GetCurrent();
    if (!current)
        return FALSE;
    auto* group = dynamic_cast<CDownloadItemGroup*>(current);
    if (group && group->MoveNext())
        return TRUE;
    ++m_nCursor;
    return static_cast<size_t>(m_nCursor) < m_aMembers.size();
}

std::vector<CDownloadItem*> CDownloadItemGroup::CountedMembers()
{
    // Each member is asked once: a member group's answer walks all its own
    // members, and asking the group itself first would walk them twice on
    // every level of nesting.
    std::vector<int> updates;
    updates.reserve(m_aMembers.size());
    bool all = true;
    for (auto& member : m_aMembers) {
        updates.push_back(member->GetUpdate());
        all = all && updates.back() > 0;
    }
    std::vector<CDownloadItem*> counted;
    for (size_t i = 0; i < m_aMembers.size(); ++i) {
        if (all || updates[i] == 0)
            counted.push_back(m_aMembers[i].get());
    }
    return counted;
}

std::string CDownloadItemGroup::GetSize() { return nv::FormatText("%d kB", GetSizeKB()); }

int CDownloadItemGroup::GetSizeKB()
{
    int sum = 0;
    for (CDownloadItem* member : CountedMembers())
        sum += member->GetSizeKB();
    return sum;
}

std::string CDownloadItemGroup::GetFileURL() const { return std::string(); }
std::string CDownloadItemGroup::GetFile() const { return std::string(); }
std::string CDownloadItemGroup::GetDestination() const { return std::string(); }

int CDownloadItemGroup::GetUpdate()
{
    for (auto& member : m_aMembers) {
        if (member->GetUpdate() <= 0)
            return 0;
    }
    return 1;
}

int CDownloadItemGroup::GetElster()
{
    for (CDownloadItem* member : CountedMembers()) {
        int elster = member->GetElster();
        if (elster != 0)
            return elster;
    }
    return 0;
}

BOOL CDownloadItemGroup::IsInstallable(nv::CIniBatchWriter* batch)
{
    for (CDownloadItem* member : CountedMembers()) {
        if (!member->IsInstallable(batch))
            return FALSE;
    }
    return TRUE;
}

int CDownloadItemGroup::WriteUpdate(int value, const char* ndcPath, nv::CIniBatchWriter* batch)
{
    for (auto& member : m_aMembers) {
        if (member->WriteUpdate(value, ndcPath, batch) < 0)
            break;
    }
    return CDownloadItem::WriteUpdate(value, ndcPath, batch);
}

void CDownloadItemGroup::SetUpdate(int value)
{
    for (auto& member : m_aMembers)
        member->SetUpdate(value);
    CDownloadItem::SetUpdate(value);
}

void CDownloadItemGroup::SetWantDownload(int value)
{
    for (CDownloadItem* member : CountedMembers())
        member->SetWantDownload(value);
    CDownloadItem::SetWantDownload(value);
}

int CDownloadItemGroup::GetWantDownload()
{
    for (auto& member : m_aMembers) {
        int want = member->GetWantDownload();
        if (want != 0)
            return want;
    }
    return 0;
}

int CDownloadItemGroup::GetDownload()
{
    for (CDownloadItem* member : CountedMembers()) {
        if (member->GetDownload() <= 0)
            return 0;
    }
    return 1;
}

BOOL CDownloadItemGroup::IsValid() const { return m_nDateVer != 0 && m_strSection != m_strMyGroup; }
