// Reading a product's news: the feed index in the update manager's data
// folder names the product's feed files; their items that apply now, on this
// machine and for this user are moved into an output channel.
#pragma once

#include "xml/nv_xml_node.h"

#include <windows.h>

#include <string>

namespace nv {

// Walks the feed index of `product` (product + ".feed" in the data folder that
// `dataFolderPathValue` names) and moves each feed's title and its items that
// pass the filters into `channel`. `*itemCount` receives the number of items
// moved. Reading errors are shown to the user and end the product's reading;
// what was moved before stays.
void ReadProductFeeds(CNvXmlNode& channel, const std::string& product, const std::string& category,
                      BOOL includeRead, BOOL includeHidden, int* itemCount,
                      const std::string& dataFolderPathValue);

} // namespace nv
