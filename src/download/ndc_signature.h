// A publisher's signature of an NDC file, checked against trusted public keys.
// The file carries it in the section "[!NdcSignature]": "Signature", the
// base64 text of r||s over SHA-256 of the signed content (ndc_canonical.h),
// and "KeyId", which names the key only to tell an administrator which one
// signed.
#pragma once

#include "download/ini_snapshot.h"
#include "support/ecdsa_p256.h"

#include <string>
#include <vector>

namespace nv {

enum class NdcVerdict {
    Accepted,
    Unsigned,
    Mismatch,
    UnknownKey,
    NoSerial,
    OlderSerial,
    BrokenKeys,
    Unavailable,
    Unreadable,
};

struct NdcCheck {
    NdcVerdict verdict = NdcVerdict::Accepted;
    // UnknownKey: the KeyId the file names.
    std::string keyId;
    // Unavailable: the system's code.
    LONG status = 0;
    // Accepted and OlderSerial: the file's "Serial"; OlderSerial: the installed file's.
    long long serial = 0;
    long long installedSerial = 0;
};

// The KeyId of a public key (X||Y): the first 8 hex digits of its SHA-256.
LONG NdcKeyId(const CEcdsaP256& cng, const std::string& publicKey, std::string& keyId);

// Accepted when a key of `keys` signed the file and its header carries a
// valid "Serial"; a key that cannot be checked makes the answer Unavailable
// unless another key signed the file.
NdcCheck CheckNdcSignature(const IniSnapshot& file, const std::vector<std::string>& keys,
                           const CEcdsaP256& cng);

// Why a file was refused, for the merge's message and the signing tool.
std::string NdcRefusalText(const NdcCheck& check);

} // namespace nv
