// The in-memory model of two NDC files at a time: the machine's own ("old")
// copy and a fetched ("new") one, each a list of items in file order plus a
// map from lower-cased section name to item.
#pragma once

#include "download/download_item.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CDownloadItemGroup;

namespace nv {

class IniSnapshot;

// Owns its items.
using DownloadItemList = std::vector<std::unique_ptr<CDownloadItem>>;
// Does not own: lower-cased section name to an item of a list.
using DownloadItemMap = std::unordered_map<std::string, CDownloadItem*>;
// Items handed to callers; they stay owned by the list they came from.
using DownloadItemRefs = std::vector<CDownloadItem*>;

} // namespace nv

class CDownloadInfo {
public:
    CDownloadInfo();
    ~CDownloadInfo();
    CDownloadInfo(const CDownloadInfo&) = delete;
    CDownloadInfo& operator=(const CDownloadInfo&) = delete;

    // Deletes the items of both lists and empties lists and maps. 0.
    int DeleteAll();

    // 0; -1 null path; -2 null list or map; -3 no such file; -4 out of memory;
    // -5 a group reference that cannot be resolved; kUnreadableFile a file that
    // is there and cannot be read (LoadError tells why). `loaded`, when given,
    // receives the file as read when its text is the file's bytes, so that a
    // write-back under a lock held meanwhile need not read and parse it again.
    int LoadFile(const char* path, nv::DownloadItemList* list, nv::DownloadItemMap* map,
                 std::optional<nv::IniSnapshot>* loaded = nullptr);
    // The system's code for the last load that gave kUnreadableFile.
    DWORD LoadError() const { return m_loadError; }
    // 0 or -5 (-4 when a group cannot be made).
    int LinkGroups(nv::DownloadItemList& list, nv::DownloadItemMap& map);

    // Installable new items in the local copy named by the old file's
    // "LocalURL"; 0 when there is none.
    int CountLocalUpdates(const char* oldPath);
    // Positive when the new file has an installable new or newer item; -1 for
    // a null path; a negative LoadFile code.
    int CountNewItems(const char* oldPath, const char* newPath);

    // The merge of the two files (download_merge.cpp). Its steps hand every
    // key they write to `batch`, which the merge applies once they are done.
    int Merge(nv::DownloadItemRefs& output, const char* oldPath, const char* newPath, BOOL all,
              BOOL fourth, BOOL downloaderOnly, std::string* message);
    // `newLoaded` as LoadOldAndNew's.
    int LoadBoth(const char* oldPath, const char* newPath, nv::CIniBatchWriter& batch,
                 std::optional<nv::IniSnapshot>* newLoaded = nullptr);
    int ApplyDownloadState(nv::CIniBatchWriter& batch);
    int CollectDownloads(nv::DownloadItemRefs& output, BOOL all, BOOL downloaderOnly,
                         nv::CIniBatchWriter& batch);
    bool MergeGroup(CDownloadItemGroup* newGroup, CDownloadItemGroup* oldGroup,
                    nv::CIniBatchWriter& batch);

    // DeleteAll, then the old file into the old list and the new one into the
    // new list: 0 or the first negative LoadFile code; `newLoaded` is the
    // new file as LoadFile gives it.
    int LoadOldAndNew(const char* oldPath, const char* newPath,
                      std::optional<nv::IniSnapshot>* newLoaded = nullptr);

    // Deletes the items whose flag in `drop` is set and drops their sections from the map, in
    // one pass: removing them one at a time shifts the list once per item.
    static void DropMarked(nv::DownloadItemList& list, nv::DownloadItemMap& map,
                           const std::vector<bool>& drop);

private:
    // The load result for a file that could not be read with `error`.
    int ReadFailure(DWORD error);
    // LoadFile on a file whose status was read.
    int LoadExisting(const char* path, nv::DownloadItemList* list, nv::DownloadItemMap* map,
                     std::optional<nv::IniSnapshot>* loaded = nullptr);
    // LoadFile on a file already read into memory.
    int LoadParsed(const nv::IniSnapshot& file, const char* path, nv::DownloadItemList* list,
                   nv::DownloadItemMap* map);
    // The walk of CountNewItems over the loaded lists; the numbers items dice
    // go into `batch`, which it applies.
    int CountLoadedNewItems(nv::CIniBatchWriter& batch);

public:
    nv::DownloadItemList m_aOldItems;
    nv::DownloadItemMap m_mapOldItems;
    nv::DownloadItemList m_aNewItems;
    nv::DownloadItemMap m_mapNewItems;

private:
    // MergeGroup when both items are groups (counting a wanted one); false
    // when they are not both groups.
    bool MergeIfGroups(CDownloadItem* fresh, CDownloadItem* known, int& count,
                       nv::CIniBatchWriter& batch);

    DWORD m_loadError = ERROR_SUCCESS;
};
