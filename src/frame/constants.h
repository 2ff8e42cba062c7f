// Texts shared by several subsystems, spelled exactly as the suite uses them.
#pragma once

namespace nv {

// Folder below the user's application-data folder with the per-feed state files.
extern const char* const kNewsStateFolder;
// Extension appended to a feed file's name to name its state file.
extern const char* const kNewsStateExtension;
// Start of every news result and of a new news state file.
extern const char* const kEmptyFeed;
extern const char* const kUpdateManagerProgram;
// The products whose news "nvpro" also counts, in this order.
extern const char* const kProductCodes[6];
extern const char* const kInstalledProductsKey;
extern const char* const kDataFolderPathValue;
extern const char* const kDataFolderDefault;

} // namespace nv
