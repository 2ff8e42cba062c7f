// Reading an item's keys from its section of an NDC file.
#include "download/download_item.h"

#include "download/ini_snapshot.h"
#include "download/ndc_keys.h"
#include "download/profile_redirect.h"
#include "support/text.h"

using namespace nv::ndc;

namespace {

class SectionReader {
public:
    SectionReader(const nv::IniSnapshot& file, const char* section)
        : m_section(file.FindSection(section))
    {
    }

    std::string Text(const char* key) const
    {
        return m_section.GetString(key, std::string(), kValueBufferSize);
    }

    // A missing or empty value leaves the field as it was.
    bool Read(const char* key, std::string& field) const
    {
        std::string value = Text(key);
        if (value.empty())
            return false;
        field = std::move(value);
        return true;
    }

    int Int(const char* key, int defaultValue) const { return m_section.GetInt(key, defaultValue); }

    // Values outside 0..highest read as 0.
    int Flag(const char* key, int highest) const
    {
        int value = Int(key, 0);
        return value >= 0 && value <= highest ? value : 0;
    }

private:
    nv::IniSnapshot::SectionView m_section;
};

} // namespace

int CDownloadItem::LoadFrom(const nv::IniSnapshot& file, const char* ndcPath, const char* section)
{
    if (!ndcPath || !section)
        return -1;
    m_strNdcFile = nv::ToLower(ndcPath);
    m_strSection = nv::ToLower(section);
    SectionReader reader(file, section);
    m_strName = section;
    reader.Read(kName, m_strName);
    m_nDateVer = reader.Int(kDateVer, 0);
    if (IsHeader()) {
        reader.Read(kShowhtm, m_strShowhtm);
        reader.Read(kStopMsg, m_strStopMsg);
        reader.Read(kRedirURL, m_strRedirURL);
        m_nPush = reader.Flag(kPush, 1);
        // Resolved only when a local copy is looked for.
        reader.Read(kLocalURL, m_strLocalURL);
        return 0;
    }
    reader.Read(kState, m_strState);
    if (reader.Read(kSize, m_strSize)) {
        m_strSize = nv::ToLower(m_strSize);
        const size_t length = m_strSize.size();
        if (length < 2 || m_strSize.compare(length - 2, 2, "kb") != 0)
            m_strSize += " kB";
    }
    reader.Read(kTooltip, m_strTooltip);
    reader.Read(kFile, m_strFile);
    if (reader.Read(kFileURL, m_strFileURL))
        m_strFileURL = nv::ResolveFileUrl(m_strFileURL);
    reader.Read(kInstalliert, m_strInstalliert);
    reader.Read(kClose, m_strClose);
    reader.Read(kShellExecute, m_strShellExecute);
    reader.Read(kRun, m_strRun);
    reader.Read(kSilentRun, m_strSilentRun);
    reader.Read(kSummary, m_strSummary);
    reader.Read(kDestination, m_strDestination);
    reader.Read(kDelFile, m_strDelFile);
    reader.Read(kSeverity, m_strSeverity);
    if (reader.Read(kMyGroup, m_strMyGroup))
        m_strMyGroup = nv::ToLower(m_strMyGroup);
    std::string info;
    if (reader.Read(kInfo, info)) {
        nv::ExtractSubString(m_strInfoText, info, 0, ';');
        nv::ExtractSubString(m_strInfoFile, info, 1, ';');
    }
    m_nUpdate = reader.Flag(kUpdate, 1);
    m_nDownload = reader.Flag(kDownload, 1);
    m_nElster = reader.Flag(kElster, 1);
    m_nReDistribute = reader.Flag(kReDistribute, 2);
    m_nQuota = reader.Int(kQuota, -1);
    m_nQuotaDiced = reader.Int(kQuotaDiced, -1);
    reader.Read(kPrivilegedGroup, m_strPrivilegedGroup);
    return 0;
}
