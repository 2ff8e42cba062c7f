// What a publisher's signature of an NDC file covers: what the module reads
// from the file, and nothing the module writes into it itself.
#pragma once

#include <string>

namespace nv {

// The signed content of an NDC file whose text (in the system code page, as
// the INI reader decodes it) is `text`. In file order, each named section as
// "[name]" and each of its key lines as "name=value", or "name" for a line
// without "=", with the reader's blanks removed and each line ending in LF.
// Left out: lines before the first section and in sections without a name
// (never read), the signature section, comment lines (";"), and the keys
// "Update", "Download" and "QuotaDiced", which merges and progress reports
// write. So a signed file still verifies after the module's own writes,
// after its line endings were converted and with its comments changed, while
// any change to what the module reads changes this content.
std::string CanonicalNdcContent(const std::string& text);

// A "Serial" text: decimal digits only, at most 2^63-1. False for anything else.
bool ParseNdcSerial(const std::string& text, long long& serial);

} // namespace nv
