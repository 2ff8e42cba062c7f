// The NDC download list: the installed products whose NDC file names a
// redirection address, for the update manager to fetch fresh copies.
#pragma once

#include <string>

namespace nv {

// The "ndcs" list of the products below `baseKey` whose code `filter` names
// (all when empty), only those that push their updates when `pushOnly` is
// set. COM must be initialised by the caller; errors of the XML layer leave.
std::string GetNdcToDownload(const std::string& filter, int pushOnly, const std::string& baseKey);

} // namespace nv
