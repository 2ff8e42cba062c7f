// Whether a fetched NDC file may be used on this machine. An administrator
// turns the check on by listing trusted publishers' public keys in
// HKLM\Software\Norvane\Download, value "NdcPublicKeys" (REG_MULTI_SZ, or
// REG_SZ with one key), each the base64 text of X||Y. It is read at each
// call, so a change needs no restart of the programs that load the module.
// Without the value, or with no key in it, nothing is checked and nothing is
// loaded for it; a value that does not parse refuses every file, so a broken
// configuration never turns the check off unnoticed.
#pragma once

#include <string>

namespace nv {

// True when the file at `fetchedPath` may be merged with (or counted
// against) the installed file at `installedPath`: no keys configured, or a
// configured key signed it and its "Serial" is not lower than the installed
// file's. Otherwise false, with the German reason in `reason`. A null path or
// a missing fetched file passes: the load that follows answers for those.
bool AcceptsFetchedNdc(const char* installedPath, const char* fetchedPath, std::string& reason);

} // namespace nv
