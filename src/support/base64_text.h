// Base64 text (RFC 4648 alphabet, with padding) for keys and signatures. The
// platform's decoder skips stray characters and accepts missing padding; a
// key or signature must be exactly what its writer meant, so the decoder here
// takes only the one text the encoder gives for the same bytes.
#pragma once

#include <string>

namespace nv {

std::string EncodeBase64(const std::string& bytes);
// False, with `bytes` untouched, for any other character, a length that is
// not a multiple of 4, padding anywhere but at the end, or unused bits set.
bool DecodeBase64(const std::string& text, std::string& bytes);

} // namespace nv
