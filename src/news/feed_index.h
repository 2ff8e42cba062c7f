// Entries of a product's feed index: each names a feed by its source address
// and the registry place of the folder the update manager downloads it to.
#pragma once

#include "xml/nv_xml_node.h"

#include <string>

namespace nv {

// The last path component of a feed's source address, whichever separator
// ("\" or "/") stands last; the whole text when it has none.
std::string LastUrlComponent(const std::string& url);

// The local feed file of one `NvFeed` entry: the folder named by its
// `RegistryDestination` joined with the file name of its `Url`. Empty when
// either element is missing.
std::string ResolveFeedEntryPath(const CNvXmlNode& entry);

} // namespace nv
