// Files of the news: paths joined the way the suite's tools join them, and the
// per-user state file of a feed, which the update manager shares.
#pragma once

#include <string>

namespace nv {

// `folder` and `name` joined as PathCombine joins them (an absolute `name`
// stands alone); empty when the result does not fit into MAX_PATH.
std::string CombinePath(const std::string& folder, const std::string& name);

// The state file of `feedPath` (its file name + ".conf" in the state folder).
// Creates the state folder chain when it is missing. Empty when the path does
// not fit into MAX_PATH.
std::string GetNewsStateFilePath(const std::string& feedPath);
// The same in two halves, for callers that read many feeds: the state folder
// (created when missing; empty when the shell does not tell it) and the state
// file of `feedPath` in it.
std::string GetNewsStateFolder();
std::string NewsStateFilePathIn(const std::string& stateFolder, const std::string& feedPath);

// Creates every missing folder of `path`, from the drive down; failures are
// left for the first file operation in the folder to report.
void CreateFolderChain(const std::string& path);

} // namespace nv
