// Reading an item's keys from its section of an NDC file.
#include "download/download_item.h"

#include "download/ini_snapshot.h"
#include "download/ndc_keys.h"
#include "download/profile_redirect.h"
#include "support/text.h"

#include <cstring>

using namespace nv::ndc;

namespace {

// Every key an item reads, in the order of the slots below.
enum Slot {
    kNameSlot,
    kDateVerSlot,
    kShowhtmSlot,
    kStopMsgSlot,
    kRedirURLSlot,
    kPushSlot,
    kLocalURLSlot,
    kStateSlot,
    kSizeSlot,
    kTooltipSlot,
    kFileSlot,
    kFileURLSlot,
    kInstalliertSlot,
    kCloseSlot,
    kShellExecuteSlot,
    kRunSlot,
    kSilentRunSlot,
    kSummarySlot,
    kDestinationSlot,
    kDelFileSlot,
    kSeveritySlot,
    kMyGroupSlot,
    kInfoSlot,
    kUpdateSlot,
    kDownloadSlot,
    kElsterSlot,
    kReDistributeSlot,
    kQuotaSlot,
    kQuotaDicedSlot,
    kPrivilegedGroupSlot,
    kSlotCount
};

const char* const kSlotKeys[kSlotCount] = {
    kName,        kDateVer, kShowhtm,      kStopMsg, kRedirURL,   kPush,
    kLocalURL,    kState,   kSize,         kTooltip, kFile,       kFileURL,
    kInstalliert, kClose,   kShellExecute, kRun,     kSilentRun,  kSummary,
    kDestination, kDelFile, kSeverity,     kMyGroup, kInfo,       kUpdate,
    kDownload,    kElster,  kReDistribute, kQuota,   kQuotaDiced, kPrivilegedGroup,
};

struct SlotKeyLengths {
    size_t lengths[kSlotCount];
    SlotKeyLengths()
    {
        for (int slot = 0; slot < kSlotCount; ++slot)
            lengths[slot] = std::strlen(kSlotKeys[slot]);
    }
};

const SlotKeyLengths kSlotKeyLengths;

// The section's keys are walked once for all slots; each is then read by
// the private-profile rules of its type.
class SectionReader {
public:
    explicit SectionReader(const nv::IniSnapshot::SectionView& section) : m_section(section)
    {
        m_section.FindKeys(kSlotKeys, kSlotKeyLengths.lengths, kSlotCount, m_values);
    }

    std::string Text(Slot slot) const
    {
        return m_section.GetString(m_values[slot], std::string(), kValueBufferSize);
    }

    // A missing or empty value leaves the field as it was.
    bool Read(Slot slot, std::string& field) const
    {
        if (!m_values[slot].found)
            return false;
        std::string value = Text(slot);
        if (value.empty())
            return false;
        field = std::move(value);
        return true;
    }

    int Int(Slot slot, int defaultValue) const
    {
        return m_section.GetInt(m_values[slot], defaultValue);
    }

    // Values outside 0..highest read as 0.
    int Flag(Slot slot, int highest) const
    {
        int value = Int(slot, 0);
        return value >= 0 && value <= highest ? value : 0;
    }

private:
    nv::IniSnapshot::SectionView m_section;
    nv::IniSnapshot::SectionView::Value m_values[kSlotCount];
};

} // namespace

int CDownloadItem::LoadFrom(const nv::IniSnapshot::SectionView& keys, const char* ndcPath,
                            const char* section, const nv::SharedText* lowerPath,
                            std::string* lowerSection)
{
    if (!ndcPath || !section)
        return -1;
    m_strNdcFile = lowerPath ? *lowerPath : nv::SharedText(nv::ToLower(ndcPath));
    m_strSection = lowerSection ? std::move(*lowerSection) : nv::ToLower(section);
    SectionReader reader(keys);
    m_strName = section;
    reader.Read(kNameSlot, m_strName);
    m_nDateVer = reader.Int(kDateVerSlot, 0);
    if (IsHeader()) {
        reader.Read(kShowhtmSlot, m_strShowhtm);
        reader.Read(kStopMsgSlot, m_strStopMsg);
        reader.Read(kRedirURLSlot, m_strRedirURL);
        m_nPush = reader.Flag(kPushSlot, 1);
        // Resolved only when a local copy is looked for.
        reader.Read(kLocalURLSlot, m_strLocalURL);
        return 0;
    }
    reader.Read(kStateSlot, m_strState);
    if (reader.Read(kSizeSlot, m_strSize)) {
        m_strSize = nv::ToLower(m_strSize);
        const size_t length = m_strSize.size();
        if (length < 2 || m_strSize.compare(length - 2, 2, "kb") != 0)
            m_strSize += " kB";
    }
    reader.Read(kTooltipSlot, m_strTooltip);
    reader.Read(kFileSlot, m_strFile);
    if (reader.Read(kFileURLSlot, m_strFileURL))
        m_strFileURL = nv::ResolveFileUrl(std::move(m_strFileURL));
    reader.Read(kInstalliertSlot, m_strInstalliert);
    reader.Read(kCloseSlot, m_strClose);
    reader.Read(kShellExecuteSlot, m_strShellExecute);
    reader.Read(kRunSlot, m_strRun);
    reader.Read(kSilentRunSlot, m_strSilentRun);
    reader.Read(kSummarySlot, m_strSummary);
    reader.Read(kDestinationSlot, m_strDestination);
    reader.Read(kDelFileSlot, m_strDelFile);
    reader.Read(kSeveritySlot, m_strSeverity);
    if (reader.Read(kMyGroupSlot, m_strMyGroup))
        m_strMyGroup = nv::ToLower(m_strMyGroup);
    std::string info;
    if (reader.Read(kInfoSlot, info)) {
        nv::ExtractSubString(m_strInfoText, info, 0, ';');
        nv::ExtractSubString(m_strInfoFile, info, 1, ';');
    }
    m_nUpdate = reader.Flag(kUpdateSlot, 1);
    m_nDownload = reader.Flag(kDownloadSlot, 1);
    m_nElster = reader.Flag(kElsterSlot, 1);
    m_nReDistribute = reader.Flag(kReDistributeSlot, 2);
    m_nQuota = reader.Int(kQuotaSlot, -1);
    m_nQuotaDiced = reader.Int(kQuotaDicedSlot, -1);
    reader.Read(kPrivilegedGroupSlot, m_strPrivilegedGroup);
    return 0;
}
