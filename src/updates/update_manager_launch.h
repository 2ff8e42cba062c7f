// Starting the update manager at a page, for a product and an item. Only its
// command line is fixed between the module and the update manager.
#pragma once

#include <string>

namespace nv {

// Registry path value of the update manager's program folder, and the folder
// used when it cannot be read.
extern const char* const kUpdateManagerFolderPathValue;
extern const char* const kUpdateManagerFolderDefault;

// The argument text: "/product:P", " /page:Update|News|Config" for pages 0 to
// 2 and " /item:I", each part only when given, joined with nothing between.
std::string UpdateManagerArguments(int page, const std::string& product, const std::string& item);

// Starts the update manager with those arguments: 0, -1 when its program
// is not found (after telling the user), -2 when it does not start.
int ShowUpdateManagerItem(int page, const char* product, const char* item);

} // namespace nv
