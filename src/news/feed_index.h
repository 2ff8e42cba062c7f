// Entries of a product's feed index: each names a feed by its source address
// and the registry place of the folder the update manager downloads it to.
#pragma once

#include <string>

// The last path component of a feed's source address, whichever separator
// ("\" or "/") stands last; the whole text when it has none.
std::string LastUrlComponent(const std::string& url);
