// Where an update's files go: the folder named by the item's "Destination"
// value, created when missing.
#pragma once

#include <string>
#include <unordered_set>

class CDownloadItem;

namespace nv {

// The item's destination folder; a folder that does not exist is created (one
// level; a failure is ignored and the text still returned). `present` holds
// the folders found or made while one list is built: each is looked for once
// per list, as under Wine a look scans the folder's parent.
std::string ResolveDestinationFolder(CDownloadItem& item, std::unordered_set<std::string>& present);

// The NDC file's folder: the path up to its last "\" or "/"; empty without one.
std::string FolderOfNdcFile(const std::string& ndcPath);

} // namespace nv
