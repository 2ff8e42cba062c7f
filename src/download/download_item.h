// One section of an NDC file in memory: an update with its file, address and
// texts, its progress on this machine, its installation condition and its
// staged-rollout quota. Header and non-item sections are items too.
#pragma once

#include "download/ini_snapshot.h"
#include "support/shared_text.h"

#include <windows.h>

#include <string>

namespace nv {
class CIniBatchWriter;

namespace ndc {
// The load result for a file that is there but cannot be read: another
// program holds it past a short wait, or access is denied. Unlike a missing
// file it is not read as one without keys, whose decisions (fresh rollout
// numbers, no installation condition) would overwrite what it records.
const int kUnreadableFile = -6;
} // namespace ndc
} // namespace nv

class CDownloadItem {
public:
    CDownloadItem();
    virtual ~CDownloadItem();
    CDownloadItem(const CDownloadItem&) = delete;
    CDownloadItem& operator=(const CDownloadItem&) = delete;

    // Every field of `other` except the privileged group (an item becoming a group).
    void CopyFrom(const CDownloadItem& other);

    virtual void SetSection(const std::string& section);
    virtual int GetDateVer() const;
    virtual std::string GetRedirURL() const;
    virtual std::string GetName() const;
    virtual std::string GetSize();
    virtual std::string GetState() const;
    // Lower-cases and trims the size text in place.
    virtual int GetSizeKB();
    virtual std::string GetInfoText() const;
    virtual std::string GetInfoFile() const;
    virtual std::string GetTooltip() const;
    virtual std::string GetFileURL() const;
    virtual std::string GetNdcFile() const;
    virtual std::string GetFile() const;
    virtual std::string GetClose() const;
    virtual std::string GetShellExecute() const;
    virtual std::string GetRun() const;
    virtual std::string GetSilentRun() const;
    virtual std::string GetSummary() const;
    virtual std::string GetDestination() const;
    virtual std::string GetDelFile() const;
    virtual std::string GetShowhtm() const;
    virtual std::string GetStopMsg() const;
    virtual std::string GetSeverity() const;
    virtual std::string GetMyGroup() const;
    virtual std::string GetLocalURL() const;
    virtual int GetUpdate();
    virtual int GetElster();
    // The installation condition holds and CheckQuota is TRUE. The operations
    // that write take the batch their writes go into: null writes at once.
    BOOL IsInstallable() { return IsInstallable(nullptr); }
    virtual BOOL IsInstallable(nv::CIniBatchWriter* batch);
    virtual int GetQuota() const;
    // Without `write` returns the value; with it writes "Quota" into the
    // item's own NDC file and returns whether that write succeeded.
    virtual int SetQuota(int value, BOOL write);
    virtual int GetQuotaDiced() const;
    virtual int SetQuotaDiced(int value, BOOL write, nv::CIniBatchWriter* batch);
    virtual BOOL IsWithinQuota() const;
    // The staged-rollout test; dices (and writes "QuotaDiced") once per item.
    virtual BOOL CheckQuota(nv::CIniBatchWriter* batch);
    virtual std::string GetPrivilegedGroup() const;
    virtual BOOL IsPrivileged() const;
    // 0; -1 when either argument is null; kUnreadableFile, with the item
    // unchanged. Reads the file once; a missing file or section reads as one
    // without keys.
    virtual int Load(const char* ndcPath, const char* section);
    // Write the flag into `ndcPath` (the item's own file when null); always 0.
    virtual int WriteUpdate(int value, const char* ndcPath, nv::CIniBatchWriter* batch);
    virtual void SetUpdate(int value);
    virtual int WriteDownload(int value, const char* ndcPath, nv::CIniBatchWriter* batch);
    virtual void SetWantDownload(int value);
    virtual void SetDownload(int value);
    // Empties the state text; the arguments are not used.
    virtual int SetState(const char* first, const char* second);
    virtual int GetWantDownload();
    virtual int GetPush() const;
    virtual int GetDownload();
    virtual BOOL IsItemSection() const;
    virtual BOOL IsHeader() const;
    virtual BOOL IsValid() const;
    virtual BOOL IsDnload() const;
    virtual int GetReDistribute() const;

    // Load from the keys of `section` in a file already read into memory
    // (LoadFile reads each file once, and gives the path and section
    // lower-cased when it has them so already).
    int LoadFrom(const nv::IniSnapshot::SectionView& keys, const char* ndcPath, const char* section,
                 const nv::SharedText* lowerPath = nullptr, std::string* lowerSection = nullptr);

    std::string m_strState;
    // Lower-cased; shared by the items of one load.
    nv::SharedText m_strNdcFile;
    std::string m_strRedirURL;
    std::string m_strSection;
    std::string m_strName;
    std::string m_strSize;
    std::string m_strFile;
    std::string m_strFileURL;
    std::string m_strTooltip;
    std::string m_strInfoText;
    std::string m_strInfoFile;
    std::string m_strInstalliert;
    std::string m_strClose;
    std::string m_strShellExecute;
    std::string m_strRun;
    std::string m_strSilentRun;
    std::string m_strMyGroup;
    std::string m_strSummary;
    std::string m_strDestination;
    std::string m_strDelFile;
    std::string m_strShowhtm;
    std::string m_strStopMsg;
    std::string m_strLocalURL;
    std::string m_strSeverity;
    int m_bWantDownload = 1;
    int m_nUpdate = 0;
    int m_nElster = 0;
    int m_nPush = 0;
    int m_nDownload = 0;
    int m_nDateVer = 0;
    int m_nReDistribute = 0;
    int m_nQuota = -1;
    int m_nQuotaDiced = -1;
    std::string m_strPrivilegedGroup;
    // What the merge's first step found: IsInstallable for an item, MergeGroup
    // for a group in both files; -1 before. Its next step reuses the answer
    // instead of reading conditions (file versions, registry) or walking the
    // members again.
    int m_nMergeAnswer = -1;

private:
    int WriteFlag(const char* key, int value, const char* ndcPath, nv::CIniBatchWriter* batch);
};
