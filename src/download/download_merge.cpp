// The merge of the machine's NDC file (old) with a fetched one (new): which
// items this machine still needs, and the progress flags carried over.
#include "download/download_info.h"
#include "download/download_item_group.h"
#include "download/ini_batch_writer.h"
#include "download/ini_snapshot.h"
#include "download/merge_messages.h"
#include "download/ndc_keys.h"
#include "download/ndc_signature_gate.h"
#include "support/file_write_lock.h"

#include <exception>
#include <optional>
#include <unordered_map>

namespace {

CDownloadItem* Lookup(const nv::DownloadItemMap& map, const std::string& section)
{
    auto found = map.find(section);
    return found == map.end() ? nullptr : found->second;
}

// Every member at any depth, plus one: more steps than a member walk can take.
size_t WalkBound(const CDownloadItemGroup& group)
{
    size_t bound = 1;
    for (const auto& member : group.Members()) {
        const auto* inner = dynamic_cast<const CDownloadItemGroup*>(member.get());
        bound += inner ? WalkBound(*inner) : 1;
    }
    return bound;
}

// Calls `visit` for each step of the group's cursor walk (a member group is
// visited once per member of its own, as the walk reports it). Visits of one
// member after its second are skipped: each would cost the size of a member
// group, making a walk over a group of many members quadratic, and changes
// nothing (see MergeGroup).
template <class Visit> void WalkMembers(CDownloadItemGroup& group, Visit visit)
{
    group.ResetCursor();
    size_t bound = WalkBound(group);
    const CDownloadItem* previous = nullptr;
    int repeats = 0;
    for (size_t step = 0; step < bound; ++step) {
        CDownloadItem* member = group.GetCurrent();
        if (!member)
            return;
        repeats = member == previous ? repeats + 1 : 0;
        previous = member;
        if (repeats < 2)
            visit(member);
        if (!group.MoveNext())
            return;
    }
}

} // namespace

bool CDownloadInfo::MergeIfGroups(CDownloadItem* fresh, CDownloadItem* known, int& count,
                                  nv::CIniBatchWriter& batch)
{
    auto* freshGroup = dynamic_cast<CDownloadItemGroup*>(fresh);
    auto* knownGroup = dynamic_cast<CDownloadItemGroup*>(known);
    if (!freshGroup || !knownGroup)
        return false;
    // A second MergeGroup would mark the members as the first did.
    if (fresh->m_nMergeAnswer < 0)
        fresh->m_nMergeAnswer = MergeGroup(freshGroup, knownGroup, batch) ? 1 : 0;
    if (fresh->m_nMergeAnswer != 0)
        ++count;
    return true;
}

int CDownloadInfo::Merge(nv::DownloadItemRefs& output, const char* oldPath, const char* newPath,
                         BOOL all, BOOL, BOOL downloaderOnly, std::string* message)
{
    // Decided under the new file's lock, held from loading both files until
    // the keys are written: a second caller merging the same fetched file at
    // that moment (two programs of the suite starting together) waits, then
    // finds the rollout numbers drawn here instead of drawing its own, so the
    // list each returns agrees with the numbers the file keeps.
    std::optional<nv::CFileWriteLock> lock;
    if (newPath)
        lock.emplace(nv::ProfilePath(newPath));
    // Every key the merge writes (the diced numbers included) goes into this
    // batch and reaches the new file in one replacement once the steps are
    // done. After an error the destructor still applies what was collected,
    // before the lock goes: nothing written is rolled back.
    nv::CIniBatchWriter batch;
    long step = 0;
    const auto steps = [&]() {
        std::optional<nv::IniSnapshot> loaded;
        int result = LoadBoth(oldPath, newPath, batch, &loaded);
        // Held since before the load: the keys go in without a second lock,
        // into the bytes loaded unless they changed since.
        if (lock && lock->IsHeld())
            batch.Holding(newPath, std::move(loaded));
        if (result < 0)
            return result;
        step = 1;
        result = ApplyDownloadState(batch);
        if (result < 0)
            return result;
        step = 2;
        result = CollectDownloads(output, all, downloaderOnly, batch);
        step = 3;
        for (const auto& item : m_aNewItems) {
            step = 4;
            if (item->GetUpdate() != 0)
                item->WriteUpdate(1, newPath, &batch);
            step = 5;
            if (item->GetDownload() != 0)
                item->WriteDownload(1, newPath, &batch);
            step = 7;
        }
        return result;
    };
    try {
        DWORD error = lock && !lock->IsHeld() ? lock->Error() : ERROR_SUCCESS;
        // Under the lock and before the steps: a refused file is checked as it is
        // merged and is not touched, and what the steps collect reaches the file
        // even when the merge fails.
        std::string refusal;
        if (error == ERROR_SUCCESS && !nv::AcceptsFetchedNdc(oldPath, newPath, refusal)) {
            nv::StoreMergeMessage(message, nv::FrameworkMergeMessage(oldPath, 0, refusal.c_str()));
            return -1;
        }
        int result = error == ERROR_SUCCESS ? steps() : 0;
        // A file held by another program is reported, not merged as an empty one.
        if (result == nv::ndc::kUnreadableFile)
            error = LoadError();
        if (error == ERROR_SUCCESS)
            error = batch.Apply();
        if (error == ERROR_SUCCESS)
            return result;
        // A Win32 code is its own message number.
        nv::StoreMergeMessage(
            message,
            nv::FrameworkMergeMessage(oldPath, step, nv::ErrorMessageFor(HRESULT(error)).c_str()));
    } catch (const nv::ComError& error) {
        nv::StoreMergeMessage(message, nv::ComMergeMessage(oldPath, step, error));
    } catch (const std::exception& error) {
        nv::StoreMergeMessage(message, nv::FrameworkMergeMessage(oldPath, step, error.what()));
    } catch (...) {
        nv::StoreMergeMessage(message, nv::UnknownMergeMessage(oldPath, step));
    }
    return -1;
}

int CDownloadInfo::LoadBoth(const char* oldPath, const char* newPath, nv::CIniBatchWriter& batch,
                            std::optional<nv::IniSnapshot>* newLoaded)
{
    if (!oldPath || !newPath)
        return -1;
    int result = LoadOldAndNew(oldPath, newPath, newLoaded);
    if (result < 0)
        return result;

    int count = 0;
    std::vector<bool> drop(m_aNewItems.size(), false);
    for (size_t i = 0; i < m_aNewItems.size(); ++i) {
        CDownloadItem* fresh = m_aNewItems[i].get();
        if (!fresh->IsItemSection())
            continue;
        CDownloadItem* known = Lookup(m_mapOldItems, fresh->m_strSection);
        if (!known) {
            if (fresh->IsInstallable(&batch))
                ++count;
            else
                drop[i] = true;
            continue;
        }
        if (MergeIfGroups(fresh, known, count, batch))
            continue;
        if (known->GetQuotaDiced() != -1 && known->GetQuotaDiced() != fresh->GetQuotaDiced())
            fresh->SetQuotaDiced(known->GetQuotaDiced(), TRUE, &batch);
        // Asked once: the answer decides both whether the item is wanted and
        // whether it stays.
        bool installable = fresh->IsInstallable(&batch) != FALSE;
        fresh->m_nMergeAnswer = installable ? 1 : 0;
        bool wanted =
            (fresh->GetDateVer() > known->GetDateVer() || known->GetUpdate() == 0) && installable;
        fresh->SetWantDownload(wanted ? 1 : 0);
        fresh->SetUpdate(wanted ? 0 : 1);
        if (wanted)
            ++count;
        fresh->SetState(nullptr, nullptr);
        if (!wanted && !installable)
            drop[i] = true;
    }
    DropMarked(m_aNewItems, m_mapNewItems, drop);
    return count;
}

bool CDownloadInfo::MergeGroup(CDownloadItemGroup* newGroup, CDownloadItemGroup* oldGroup,
                               nv::CIniBatchWriter& batch)
{
    // Looked up once per group, the first member of a name winning as in a
    // search from the front: a search per member is quadratic in group size.
    // A member group's first visit sets "Update" alike on all its members, so
    // from its second visit on all of them are counted and every further visit
    // takes the same branch with the same outcome: two visits are enough.
    std::unordered_map<std::string, CDownloadItem*> oldMembers;
    WalkMembers(*oldGroup,
                [&](CDownloadItem* member) { oldMembers.emplace(member->m_strSection, member); });
    bool wanted = false;
    WalkMembers(*newGroup, [&](CDownloadItem* member) {
        CDownloadItem* known = Lookup(oldMembers, member->m_strSection);
        bool installed =
            known && member->GetDateVer() <= known->GetDateVer() && known->GetUpdate() != 0;
        if (!installed && member->IsInstallable(&batch)) {
            member->SetWantDownload(1);
            member->SetUpdate(0);
            wanted = true;
        } else {
            member->SetWantDownload(0);
            member->SetUpdate(1);
        }
    });
    return wanted;
}

int CDownloadInfo::ApplyDownloadState(nv::CIniBatchWriter& batch)
{
    if (m_aOldItems.empty() || m_aNewItems.empty())
        return -1;
    int count = 0;
    for (const auto& item : m_aNewItems) {
        CDownloadItem* fresh = item.get();
        CDownloadItem* known =
            fresh->IsItemSection() ? Lookup(m_mapOldItems, fresh->m_strSection) : nullptr;
        if (!known)
            continue;
        if (MergeIfGroups(fresh, known, count, batch))
            continue;
        if ((fresh->GetDateVer() > known->GetDateVer() || known->GetDownload() == 0) &&
            (fresh->m_nMergeAnswer >= 0 ? fresh->m_nMergeAnswer != 0
                                        : fresh->IsInstallable(&batch) != FALSE)) {
            fresh->SetDownload(0);
            ++count;
        } else {
            fresh->SetDownload(1);
        }
    }
    return count;
}

int CDownloadInfo::CollectDownloads(nv::DownloadItemRefs& output, BOOL all, BOOL downloaderOnly,
                                    nv::CIniBatchWriter& batch)
{
    CDownloadItem* downloader = Lookup(m_mapNewItems, nv::ndc::kDownloaderSection);
    bool pending = false;
    if (downloader && downloader->IsValid()) {
        // The old file's downloader item, installed or not: its "Update" key tells.
        CDownloadItem* oldDownloader = Lookup(m_mapOldItems, nv::ndc::kDownloaderSection);
        pending = !(oldDownloader && downloader->GetDateVer() <= oldDownloader->GetDateVer() &&
                    downloader->GetWantDownload() == 0 && oldDownloader->GetUpdate() != 0);
    }
    if (downloaderOnly && pending) {
        output.push_back(downloader);
        return 0;
    }
    for (const auto& item : m_aNewItems) {
        if (!item->IsItemSection())
            continue;
        if (item->IsDnload() && item->GetWantDownload() == 0) {
            item->WriteDownload(1, nullptr, &batch);
            item->WriteUpdate(1, nullptr, &batch);
            continue;
        }
        if (all || item->GetWantDownload() != 0)
            output.push_back(item.get());
    }
    return 0;
}
