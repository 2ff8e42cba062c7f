// Where an update's files go: the folder named by the item's "Destination"
// value, created when missing.
#pragma once

#include <string>

class CDownloadItem;

namespace nv {

// The item's destination folder; a folder that does not exist is created (one
// level; a failure is ignored and the text still returned).
std::string ResolveDestinationFolder(CDownloadItem& item);

// The NDC file's folder: the path up to its last "\" or "/"; empty without one.
std::string FolderOfNdcFile(const std::string& ndcPath);

} // namespace nv
