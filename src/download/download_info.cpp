#include "download/download_info.h"

#include "download/download_item_group.h"
#include "download/ini_snapshot.h"
#include "download/ndc_keys.h"
#include "download/profile_redirect.h"
#include "support/file_status.h"
#include "support/text.h"

#include <algorithm>
#include <new>

namespace {

const char* const kDuplicateSectionText =
    "Der Eintrag [%s] wird mehrfach in der Konfigurationsdatei verwendet!";
const char* const kDuplicateSectionCaption = "Fehler in der Konfigurationsdatei";


DownloadItemList::iterator FindInList(DownloadItemList& list, const CDownloadItem* item)
{
    return std::find_if(list.begin(), list.end(),
                        [item](const std::unique_ptr<CDownloadItem>& entry) {
                            return entry.get() == item;
                        });
}

// The item that names a group, unless it is the downloader or names none.
bool NamesGroup(const CDownloadItem& item)
{
    return !item.IsDnload() && !item.GetMyGroup().empty();
}

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

void CDownloadInfo::RemoveItem(DownloadItemList& list, DownloadItemMap& map, CDownloadItem* item)
{
    auto found = map.find(item->m_strSection);
    if (found != map.end() && found->second == item)
        map.erase(found);
    auto position = FindInList(list, item);
    if (position != list.end())
        list.erase(position);
}

int CDownloadInfo::LoadFile(const char* path, DownloadItemList* list, DownloadItemMap* map)
{
    if (!path)
        return -1;
    if (!list || !map)
        return -2;
    if (!nv::HasFileStatus(path))
        return -3;
    try {
        return LoadParsed(nv::IniSnapshot::ReadFile(path), path, list, map);
    } catch (const std::bad_alloc&) {
        return -4;
    }
}

int CDownloadInfo::LoadParsed(const nv::IniSnapshot& file, const char* path,
                              DownloadItemList* list, DownloadItemMap* map)
{
    try {
        for (const std::string& section : file.SectionNames()) {
            if (map->count(nv::ToLower(section))) {
                MessageBoxA(nullptr, nv::FormatText(kDuplicateSectionText, section.c_str()).c_str(),
                            kDuplicateSectionCaption, MB_ICONEXCLAMATION | MB_OK);
                continue;
            }
            auto item = std::make_unique<CDownloadItem>();
            item->LoadFrom(file, path, section.c_str());
            CDownloadItem* loaded = item.get();
            list->push_back(std::move(item));
            (*map)[loaded->m_strSection] = loaded;
        }
        return LinkGroups(*list, *map);
    } catch (const std::bad_alloc&) {
        return -4;
    }
}

int CDownloadInfo::LinkGroups(DownloadItemList& list, DownloadItemMap& map)
{
    // Turn every section that another one names into a group.
    for (size_t i = 0; i < list.size(); ++i) {
        if (!NamesGroup(*list[i]))
            continue;
        auto entry = map.find(list[i]->GetMyGroup());
        if (entry == map.end())
            return -5;
        if (dynamic_cast<CDownloadItemGroup*>(entry->second))
            continue;
        auto position = FindInList(list, entry->second);
        if (position == list.end())
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
        *position = std::move(group);
    }
    // Move the members into their groups; the list keeps what is left.
    size_t i = 0;
    while (i < list.size()) {
        if (!NamesGroup(*list[i])) {
            ++i;
            continue;
        }
        auto entry = map.find(list[i]->GetMyGroup());
        auto* group = entry == map.end() ? nullptr : dynamic_cast<CDownloadItemGroup*>(entry->second);
        if (!group)
            return -5;
        std::unique_ptr<CDownloadItem> member = std::move(list[i]);
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        auto own = map.find(member->m_strSection);
        if (own != map.end() && own->second == member.get())
            map.erase(own);
        group->AddMember(std::move(member));
    }
    return 0;
}

int CDownloadInfo::CountLocalUpdates(const char* oldPath)
{
    if (!oldPath)
        return 0;
    // The installed file is read once: for its header here and, when a local
    // copy exists, for its items below.
    const nv::IniSnapshot oldFile = nv::IniSnapshot::ReadFile(oldPath);
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
    if (!nv::HasFileStatus(localPath))
        return 0;
    if (!m_aOldItems.empty() || !m_aNewItems.empty() || !nv::HasFileStatus(oldPath))
        return CountNewItems(oldPath, localPath.c_str());
    int result = LoadParsed(oldFile, oldPath, &m_aOldItems, &m_mapOldItems);
    if (result < 0)
        return result;
    result = LoadFile(localPath.c_str(), &m_aNewItems, &m_mapNewItems);
    if (result < 0)
        return result;
    return CountLoadedNewItems();
}

int CDownloadInfo::LoadOldAndNew(const char* oldPath, const char* newPath)
{
    DeleteAll();
    int result = LoadFile(oldPath, &m_aOldItems, &m_mapOldItems);
    return result < 0 ? result : LoadFile(newPath, &m_aNewItems, &m_mapNewItems);
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
    return CountLoadedNewItems();
}

int CDownloadInfo::CountLoadedNewItems()
{
    int count = 0;
    size_t i = 0;
    while (i < m_aNewItems.size()) {
        CDownloadItem* item = m_aNewItems[i].get();
        if (!item->IsItemSection()) {
            ++i;
            continue;
        }
        auto old = m_mapOldItems.find(item->m_strSection);
        if (old != m_mapOldItems.end()) {
            if ((item->GetDateVer() > old->second->GetDateVer() || old->second->GetUpdate() == 0) &&
                item->IsInstallable())
                return count + 1;
            ++i;
        } else if (item->IsInstallable()) {
            ++count;
            ++i;
        } else {
            RemoveItem(m_aNewItems, m_mapNewItems, item);
        }
    }
    return count;
}
