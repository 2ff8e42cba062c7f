// The update manager's list of what to fetch and install for a product.
#pragma once

#include <string>

namespace nv {

// Merges the product's old NDC file into its new one and returns the
// "Updates" document of the items the merge lists. COM must be initialised
// by the caller; errors of the XML layer leave here.
std::string GetUpdates(const std::string& oldPath, const std::string& newPath, bool all,
                       bool fourth, bool downloaderOnly);

} // namespace nv
