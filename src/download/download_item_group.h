// Several items of an NDC file that callers treat as one: the group section
// named by its members' "MyGroup" keys, holding the members in file order.
#pragma once

#include "download/download_item.h"

#include <memory>
#include <vector>

class CDownloadItemGroup : public CDownloadItem {
public:
    CDownloadItemGroup();
    ~CDownloadItemGroup() override;

    // The group takes ownership.
    void AddMember(std::unique_ptr<CDownloadItem> item);
    // The cursor of this group and, recursively, of every member group.
    void ResetCursor();
    // The member at the cursor, or null outside the list.
    CDownloadItem* GetCurrent() const;
    // A member group steps through its own members before the cursor moves on.
    BOOL MoveNext();

    const std::vector<std::unique_ptr<CDownloadItem>>& Members() const { return m_aMembers; }

    std::string GetSize() override;
    int GetSizeKB() override;
    std::string GetFileURL() const override;
    std::string GetFile() const override;
    std::string GetDestination() const override;
    int GetUpdate() override;
    int GetElster() override;
    using CDownloadItem::IsInstallable;
    BOOL IsInstallable(nv::CIniBatchWriter* batch) override;
    int WriteUpdate(int value, const char* ndcPath, nv::CIniBatchWriter* batch) override;
    void SetUpdate(int value) override;
    void SetWantDownload(int value) override;
    int GetWantDownload() override;
    int GetDownload() override;
    BOOL IsValid() const override;

    int m_nCursor = 0;

private:
    // All members when the group counts as installed, else those not installed.
    std::vector<CDownloadItem*> CountedMembers();

    std::vector<std::unique_ptr<CDownloadItem>> m_aMembers;
};
