#include "download/download_item.h"

#include "download/ini_batch_writer.h"
#include "download/ini_snapshot.h"
#include "download/install_condition.h"
#include "download/ndc_keys.h"
#include "download/ndc_limits.h"
#include "download/profile_redirect.h"
#include "download/rollout_quota.h"
#include "support/text.h"

#include <cstdlib>

using namespace nv::ndc;

namespace {

// Not empty, not "Header" or "Konfiguration", not beginning with "!", "~" or "@".
bool IsItemSectionName(const std::string& section)
{
    if (section.empty() || nv::EqualsNoCase(section, kHeaderSection) ||
        nv::EqualsNoCase(section, kConfigurationSection))
        return false;
    char first = section[0];
    return first != '!' && first != '~' && first != '@';
}

} // namespace

CDownloadItem::CDownloadItem() = default;

CDownloadItem::~CDownloadItem() = default;

void CDownloadItem::CopyFrom(const CDownloadItem& other)
{
    std::string privilegedGroup = m_strPrivilegedGroup;
    m_strState = other.m_strState;
    m_strNdcFile = other.m_strNdcFile;
    m_strRedirURL = other.m_strRedirURL;
    m_strSection = other.m_strSection;
    m_strName = other.m_strName;
    m_strSize = other.m_strSize;
    m_strFile = other.m_strFile;
    m_strFileURL = other.m_strFileURL;
    m_strTooltip = other.m_strTooltip;
    m_strInfoText = other.m_strInfoText;
    m_strInfoFile = other.m_strInfoFile;
    m_strInstalliert = other.m_strInstalliert;
    m_strClose = other.m_strClose;
    m_strShellExecute = other.m_strShellExecute;
    m_strRun = other.m_strRun;
    m_strSilentRun = other.m_strSilentRun;
    m_strMyGroup = other.m_strMyGroup;
    m_strSummary = other.m_strSummary;
    m_strDestination = other.m_strDestination;
    m_strDelFile = other.m_strDelFile;
    m_strShowhtm = other.m_strShowhtm;
    m_strStopMsg = other.m_strStopMsg;
    m_strLocalURL = other.m_strLocalURL;
    m_strSeverity = other.m_strSeverity;
    m_bWantDownload = other.m_bWantDownload;
    m_nUpdate = other.m_nUpdate;
    m_nElster = other.m_nElster;
    m_nPush = other.m_nPush;
    m_nDownload = other.m_nDownload;
    m_nDateVer = other.m_nDateVer;
    m_nReDistribute = other.m_nReDistribute;
    m_nQuota = other.m_nQuota;
    m_nQuotaDiced = other.m_nQuotaDiced;
    m_strPrivilegedGroup = privilegedGroup;
}

void CDownloadItem::SetSection(const std::string& section) { m_strSection = section; }
int CDownloadItem::GetDateVer() const { return m_nDateVer; }
std::string CDownloadItem::GetRedirURL() const { return m_strRedirURL; }
std::string CDownloadItem::GetName() const { return m_strName; }
std::string CDownloadItem::GetSize() { return m_strSize; }
std::string CDownloadItem::GetState() const { return m_strState; }

int CDownloadItem::GetSizeKB()
{
    m_strSize = nv::Trim(nv::ToLower(m_strSize));
    const size_t length = m_strSize.size();
    if (length < 2 || m_strSize.compare(length - 2, 2, "kb") != 0)
        return 0;
    // Only the unit goes: a size written "512kb" is 512, not 51 as cutting
    // one character more than the unit would give.
    return std::atoi(m_strSize.substr(0, length - 2).c_str());
}

std::string CDownloadItem::GetInfoText() const { return m_strInfoText; }
std::string CDownloadItem::GetInfoFile() const { return m_strInfoFile; }
std::string CDownloadItem::GetTooltip() const { return m_strTooltip; }
std::string CDownloadItem::GetFileURL() const { return m_strFileURL; }
std::string CDownloadItem::GetNdcFile() const { return m_strNdcFile; }
std::string CDownloadItem::GetFile() const { return m_strFile; }
std::string CDownloadItem::GetClose() const { return m_strClose; }
std::string CDownloadItem::GetShellExecute() const { return m_strShellExecute; }
std::string CDownloadItem::GetRun() const { return m_strRun; }
std::string CDownloadItem::GetSilentRun() const { return m_strSilentRun; }
std::string CDownloadItem::GetSummary() const { return m_strSummary; }
std::string CDownloadItem::GetDestination() const { return m_strDestination; }
std::string CDownloadItem::GetDelFile() const { return m_strDelFile; }
std::string CDownloadItem::GetShowhtm() const { return m_strShowhtm; }
std::string CDownloadItem::GetStopMsg() const { return m_strStopMsg; }
std::string CDownloadItem::GetSeverity() const { return m_strSeverity; }
std::string CDownloadItem::GetMyGroup() const { return m_strMyGroup; }
std::string CDownloadItem::GetLocalURL() const { return m_strLocalURL; }
int CDownloadItem::GetUpdate() { return m_nUpdate; }
int CDownloadItem::GetElster() { return m_nElster; }

BOOL CDownloadItem::IsInstallable(nv::CIniBatchWriter* batch)
{
    // The quota is asked only when the condition holds, so an item that is
    // not installable never dices.
    return nv::IsInstalliert(m_strInstalliert) && CheckQuota(batch);
}

int CDownloadItem::GetQuota() const { return m_nQuota; }

int CDownloadItem::SetQuota(int value, BOOL write)
{
    m_nQuota = value;
    if (!write)
        return value;
    return nv::WriteProfileKey(m_strNdcFile, m_strSection, kQuota, nv::FormatText("%d", value));
}

int CDownloadItem::GetQuotaDiced() const { return m_nQuotaDiced; }

int CDownloadItem::SetQuotaDiced(int value, BOOL write, nv::CIniBatchWriter* batch)
{
    m_nQuotaDiced = value;
    if (!write)
        return value;
    return nv::WriteProfileKeyTo(batch, m_strNdcFile, m_strSection, kQuotaDiced,
                                 std::to_string(value));
}

BOOL CDownloadItem::IsWithinQuota() const
{
    return m_nQuotaDiced < 0 || m_nQuota < 0 || m_nQuotaDiced <= m_nQuota;
}

BOOL CDownloadItem::CheckQuota(nv::CIniBatchWriter* batch)
{
    if (m_nQuota < 0)
        return TRUE;
    if (m_nQuotaDiced < 0)
        SetQuotaDiced(nv::DiceQuotaNumber(), TRUE, batch);
    if (IsPrivileged())
        return TRUE;
    return m_nQuotaDiced <= m_nQuota;
}

std::string CDownloadItem::GetPrivilegedGroup() const { return m_strPrivilegedGroup; }

BOOL CDownloadItem::IsPrivileged() const { return nv::IsMachineGroup(m_strPrivilegedGroup); }

int CDownloadItem::Load(const char* ndcPath, const char* section)
{
    if (!ndcPath || !section)
        return -1;
    nv::IniSnapshot file;
    if (!nv::IniSnapshot::ReadFileWithin(ndcPath, nv::ndc::kMaxFileBytes, file))
        return nv::ndc::kUnreadableFile;
    return LoadFrom(file.FindSection(section), ndcPath, section);
}

int CDownloadItem::WriteFlag(const char* key, int value, const char* ndcPath,
                             nv::CIniBatchWriter* batch)
{
    // A failed write is not reported: the flag in memory is what callers use.
    nv::WriteProfileKeyTo(batch, ndcPath ? std::string(ndcPath) : m_strNdcFile.Get(), m_strSection,
                          key, std::to_string(value));
    return 0;
}

int CDownloadItem::WriteUpdate(int value, const char* ndcPath, nv::CIniBatchWriter* batch)
{
    WriteFlag(kUpdate, value, ndcPath, batch);
    m_nUpdate = value;
    return 0;
}

void CDownloadItem::SetUpdate(int value) { m_nUpdate = value; }

int CDownloadItem::WriteDownload(int value, const char* ndcPath, nv::CIniBatchWriter* batch)
{
    WriteFlag(kDownload, value, ndcPath, batch);
    m_nDownload = value;
    return 0;
}

void CDownloadItem::SetWantDownload(int value) { m_bWantDownload = value; }
void CDownloadItem::SetDownload(int value) { m_nDownload = value; }

int CDownloadItem::SetState(const char*, const char*)
{
    m_strState.clear();
    return 0;
}

int CDownloadItem::GetWantDownload() { return m_bWantDownload; }
int CDownloadItem::GetPush() const { return m_nPush; }
int CDownloadItem::GetDownload() { return m_nDownload; }
BOOL CDownloadItem::IsItemSection() const { return IsItemSectionName(m_strSection); }
BOOL CDownloadItem::IsHeader() const { return m_strSection == kHeaderItem; }
BOOL CDownloadItem::IsValid() const { return m_nDateVer != 0 || !m_strFileURL.empty(); }
BOOL CDownloadItem::IsDnload() const { return nv::EqualsNoCase(m_strSection, kDownloaderSection); }
int CDownloadItem::GetReDistribute() const { return m_nReDistribute; }
