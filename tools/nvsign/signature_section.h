// The signature section written into an NDC file's own bytes: every other
// line stays as it is, so the file still reads as it did.
#pragma once

#include <string>

namespace nv {

// `content` without its "[!NdcSignature]" sections, followed by one with
// `keyId` (left out when empty) and `signature`, in the file's line breaks.
// `content` must be single-byte or UTF-8 text; UTF-16 is the caller's to refuse.
std::string WithSignatureSection(const std::string& content, const std::string& keyId,
                                 const std::string& signature);

} // namespace nv
