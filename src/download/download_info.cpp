#include "download/download_info.h"

#include "download/download_item_group.h"
#include "download/ini_batch_writer.h"
#include "download/ini_snapshot.h"
#include "download/ndc_keys.h"
#include "download/ndc_limits.h"
#include "download/ndc_signature_gate.h"
#include "download/profile_redirect.h"
#include "support/file_status.h"
#include "support/file_write_lock.h"
#include "support/text.h"

#include <algorithm>
#include <new>

using nv::ndc::kMaxGroupDepth;

namespace {

const char* const kDuplicateSectionText =
    "Der Eintrag [%s] wird mehrfach in der Konfigurationsdatei verwendet!";
const char* const kDuplicateSectionCaption = "Fehler in der Konfigurationsdatei";

// The item that names a group, unless it is the downloader or names none.
bool NamesGroup(const CDownloadItem& item)
{
    return !item.m_strMyGroup.empty() && !item.IsDnload();
}

// Whether no item would end up more than kMaxGroupDepth groups deep, found from the "MyGroup"
// links before any group is made: a deeper file is refused without building, or destroying, a
// structure the recursive group walks could not handle. Each item's depth is kept once known,
// so every link is followed once; a cycle runs into the bound.
bool NestingWithinBound(const nv::DownloadItemList& list, const nv::DownloadItemMap& map)
{
    std::unordered_map<const CDownloadItem*, int> depth;
    depth.reserve(list.size());
    std::vector<const CDownloadItem*> chain;
    for (const auto& entry : list) {
        chain.clear();
        int known = 0;
        for (const CDownloadItem* item = entry.get(); item && NamesGroup(*item);) {
            auto counted = depth.find(item);
            if (counted != depth.end()) {
                known = counted->second;
                break;
            }
            if (chain.size() == static_cast<size_t>(kMaxGroupDepth))
                return false;
            chain.push_back(item);
            auto group = map.find(item->m_strMyGroup);
            item = group == map.end() ? nullptr : group->second;
        }
        for (auto link = chain.rbegin(); link != chain.rend(); ++link) {
            if (++known > kMaxGroupDepth)
                return false;
            depth.emplace(*link, known);
        }
    }
    return true;
}

// Members leave holes in the list as they move into their groups; the holes are closed in one
// pass when linking ends, however it ends, so the list keeps what is not linked, in order.
class ListHoles {
public:
    explicit ListHoles(nv::DownloadItemList& list) : m_list(list) {}
    ~ListHoles() { m_list.erase(std::remove(m_list.begin(), m_list.end(), nullptr), m_list.end()); }
    ListHoles(const ListHoles&) = delete;
    ListHoles& operator=(const ListHoles&) = delete;

private:
    nv::DownloadItemList& m_list;
};

} // namespace

CDownloadInfo::CDownloadInfo() = default;

CDownloadInfo::~CDownloadInfo() { DeleteAll(); }

int CDownloadInfo::DeleteAll()
{
    m_mapOldItems.clear();
    m_mapNewItems.clear();
    m_aOldItems.clear();
    m_aNewItems.clear();
    return 0;
}

void CDownloadInfo::DropMarked(nv::DownloadItemList& list, nv::DownloadItemMap& map,
                               const std::vector<bool>& drop)
{
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i < drop.size() && drop[i]) {
            auto found = map.find(list[i]->m_strSection);
            if (found != map.end() && found->second == list[i].get())
                map.erase(found);
            list[i].reset();
            continue;
        }
        if (kept != i)
            list[kept] = std::move(list[i]);
        ++kept;
    }
    list.resize(kept);
}

int CDownloadInfo::LoadFile(const char* path, nv::DownloadItemList* list, nv::DownloadItemMap* map,
                            std::optional<nv::IniSnapshot>* loaded)
{
    if (!path)
        return -1;
    if (!list || !map)
        return -2;
    if (!nv::HasFileStatus(path))
        return -3;
    return LoadExisting(path, list, map, loaded);
}

int CDownloadInfo::LoadExisting(const char* path, nv::DownloadItemList* list,
                                nv::DownloadItemMap* map, std::optional<nv::IniSnapshot>* loaded)
{
    try {
        nv::IniSnapshot file;
        DWORD error = ERROR_SUCCESS;
        if (!nv::IniSnapshot::ReadFileWithin(path, nv::ndc::kMaxFileBytes, file, &error))
            return ReadFailure(error);
        int result = LoadParsed(file, path, list, map);
        if (loaded && result >= 0 && file.TextIsFileContent())
            loaded->emplace(std::move(file));
        return result;
    } catch (const std::bad_alloc&) {
        return -4;
    }
}

int CDownloadInfo::ReadFailure(DWORD error)
{
    if (error == ERROR_FILE_TOO_LARGE || error == ERROR_NOT_ENOUGH_MEMORY)
        return -4;
    m_loadError = error;
    return nv::ndc::kUnreadableFile;
}

int CDownloadInfo::LoadParsed(const nv::IniSnapshot& file, const char* path,
                              nv::DownloadItemList* list, nv::DownloadItemMap* map)
{
    if (file.SectionNames().size() > nv::ndc::kMaxSections)
        return -4;
    try {
        // One box per load: a file with hundreds of repeated sections would otherwise stack
        // hundreds of boxes in front of the user, one after another.
        bool duplicateShown = false;
        const nv::SharedText lowerPath(nv::ToLower(path));
        list->reserve(list->size() + file.SectionNames().size());
        map->reserve(map->size() + file.SectionNames().size());
        for (size_t index = 0; index < file.SectionNames().size(); ++index) {
            const std::string& section = file.SectionNames()[index];
            std::string key = nv::ToLower(section);
            if (map->count(key)) {
                if (!duplicateShown)
                    MessageBoxA(nullptr,
                                nv::FormatText(kDuplicateSectionText, section.c_str()).c_str(),
                                kDuplicateSectionCaption, MB_ICONEXCLAMATION | MB_OK);
                duplicateShown = true;
                continue;
            }
            auto item = std::make_unique<CDownloadItem>();
            // The first section of its name: its own keys are the ones a
            // lookup by name finds.
            item->LoadFrom(file.ListedSection(index), path, section.c_str(), &lowerPath, &key);
            CDownloadItem* loaded = item.get();
            list->push_back(std::move(item));
            map->emplace(loaded->m_strSection, loaded);
        }
        return LinkGroups(*list, *map);
    } catch (const std::bad_alloc&) {
        return -4;
    }
}

int CDownloadInfo::LinkGroups(nv::DownloadItemList& list, nv::DownloadItemMap& map)
{
    if (std::none_of(list.begin(), list.end(), [](const auto& item) { return NamesGroup(*item); }))
        return 0;
    if (!NestingWithinBound(list, map))
        return -5;
    std::unordered_map<const CDownloadItem*, size_t> positions;
    positions.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        positions.emplace(list[i].get(), i);
    // Turn every section that another one names into a group.
    for (size_t i = 0; i < list.size(); ++i) {
        if (!NamesGroup(*list[i]))
            continue;
        auto entry = map.find(list[i]->m_strMyGroup);
        if (entry == map.end())
            return -5;
        if (dynamic_cast<CDownloadItemGroup*>(entry->second))
            continue;
        auto position = positions.find(entry->second);
        if (position == positions.end())
            return -5;
        std::unique_ptr<CDownloadItemGroup> group;
        try {
            group = std::make_unique<CDownloadItemGroup>();
        } catch (const std::bad_alloc&) {
            return -4;
        }
        group->CopyFrom(*entry->second);
        if (!group->IsValid())
            return -5;
        entry->second = group.get();
        list[position->second] = std::move(group);
    }
    // Move the members into their groups; the list keeps what is left.
    ListHoles holes(list);
    for (auto& slot : list) {
        if (!NamesGroup(*slot))
            continue;
        auto entry = map.find(slot->m_strMyGroup);
        auto* group =
            entry == map.end() ? nullptr : dynamic_cast<CDownloadItemGroup*>(entry->second);
        if (!group)
            return -5;
        auto own = map.find(slot->m_strSection);
        if (own != map.end() && own->second == slot.get())
            map.erase(own);
        group->AddMember(std::move(slot));
    }
    return 0;
}

int CDownloadInfo::CountLocalUpdates(const char* oldPath)
{
    if (!oldPath)
        return 0;
    // The installed file is read once: for its header here and, when a local
    // copy exists, for its items below.
    nv::IniSnapshot oldFile;
    DWORD error = ERROR_SUCCESS;
    if (!nv::IniSnapshot::ReadFileWithin(oldPath, nv::ndc::kMaxFileBytes, oldFile, &error))
        return ReadFailure(error);
    const std::string localUrl = oldFile.GetString(nv::ndc::kHeaderSection, nv::ndc::kLocalURL,
                                                   std::string(), nv::ndc::kValueBufferSize);
    if (localUrl.empty())
        return 0;
    std::string folder = nv::ResolveLocalUrl(localUrl);
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    const std::string oldName = oldPath;
    size_t slash = oldName.rfind('\\');
    if (slash == std::string::npos)
        return 0;
    const std::string localPath = folder + oldName.substr(slash + 1);
    // The copy's items draw their rollout numbers into it: decided and written
    // under its lock, as a merge of it does, and checked as they are counted.
    // A missing copy counts nothing without a look of its own: it loads as a
    // file without items (under Wine each look reads the whole folder).
    nv::CFileWriteLock lock(localPath);
    if (!lock.IsHeld())
        return nv::HasFileStatus(localPath) ? ReadFailure(lock.Error()) : 0;
    std::string refusal;
    if (!nv::AcceptsFetchedNdc(oldPath, localPath.c_str(), refusal))
        return 0;
    if (!m_aOldItems.empty() || !m_aNewItems.empty())
        return nv::HasFileStatus(localPath) ? CountNewItems(oldPath, localPath.c_str()) : 0;
    // The installed file was there when read above (it named a local copy).
    int result = LoadParsed(oldFile, oldPath, &m_aOldItems, &m_mapOldItems);
    if (result < 0)
        return result;
    std::optional<nv::IniSnapshot> loaded;
    result = LoadExisting(localPath.c_str(), &m_aNewItems, &m_mapNewItems, &loaded);
    if (result < 0)
        return result;
    nv::CIniBatchWriter batch;
    batch.Holding(localPath, std::move(loaded));
    return CountLoadedNewItems(batch);
}

int CDownloadInfo::LoadOldAndNew(const char* oldPath, const char* newPath,
                                 std::optional<nv::IniSnapshot>* newLoaded)
{
    DeleteAll();
    int result = LoadFile(oldPath, &m_aOldItems, &m_mapOldItems);
    return result < 0 ? result : LoadFile(newPath, &m_aNewItems, &m_mapNewItems, newLoaded);
}

int CDownloadInfo::CountNewItems(const char* oldPath, const char* newPath)
{
    if (!oldPath || !newPath)
        return -1;
    if (m_aOldItems.empty() && m_aNewItems.empty()) {
        int result = LoadOldAndNew(oldPath, newPath);
        if (result < 0)
            return result;
    }
    nv::CIniBatchWriter batch;
    return CountLoadedNewItems(batch);
}

int CDownloadInfo::CountLoadedNewItems(nv::CIniBatchWriter& batch)
{
    // The numbers items dice go into their file together, as the merge writes
    // them: one whole-file rewrite per item made a count over a fresh local
    // copy quadratic in its size. A failed write was never reported.
    int count = 0;
    std::vector<bool> drop(m_aNewItems.size(), false);
    for (size_t i = 0; i < m_aNewItems.size(); ++i) {
        CDownloadItem* item = m_aNewItems[i].get();
        if (!item->IsItemSection())
            continue;
        auto old = m_mapOldItems.find(item->m_strSection);
        if (old == m_mapOldItems.end()) {
            if (item->IsInstallable(&batch))
                ++count;
            else
                drop[i] = true;
        } else if ((item->GetDateVer() > old->second->GetDateVer() ||
                    old->second->GetUpdate() == 0) &&
                   item->IsInstallable(&batch)) {
            ++count;
            break;
        }
    }
    DropMarked(m_aNewItems, m_mapNewItems, drop);
    batch.Apply();
    return count;
}
