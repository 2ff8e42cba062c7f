// Where the per-user read and hidden marks of a feed are kept: one state file
// per feed file name in the user's application-data folder, shared with the
// update manager.
#pragma once

#include <string>

// The state file of `feedPath` (its file name + ".conf" in the state folder).
// Creates the state folder chain when it is missing. Empty when the path does
// not fit into MAX_PATH.
std::string GetNewsStateFilePath(const std::string& feedPath);

// Creates every missing folder of `path`, from the drive down; failures are
// left for the first file operation in the folder to report.
void CreateFolderChain(const std::string& path);
