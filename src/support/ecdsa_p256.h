// ECDSA on the curve P-256 with SHA-256, done by the platform (CNG,
// bcrypt.dll). The library is loaded by the object, from the system folder,
// so that a process that never checks a signature never maps it. Keys and
// signatures are raw bytes: a public key is X||Y (64 bytes), a private key
// X||Y||d (96 bytes), a signature r||s (64 bytes), each number big-endian.
#pragma once

#include <windows.h>

#include <bcrypt.h>

#include <string>

namespace nv {

// STATUS_INVALID_SIGNATURE, which the platform's headers give only beside a
// second set of status names.
const LONG kInvalidSignatureStatus = static_cast<LONG>(0xC000A000);

class CEcdsaP256 {
public:
    CEcdsaP256();
    ~CEcdsaP256();
    CEcdsaP256(const CEcdsaP256&) = delete;
    CEcdsaP256& operator=(const CEcdsaP256&) = delete;

    // 0 when the library and both algorithms are there, else the system's code
    // (an NTSTATUS, or a Win32 code as an HRESULT when the library is missing).
    LONG Status() const { return m_status; }

    // Each returns 0 (STATUS_SUCCESS) or the system's code.
    LONG Sha256(const std::string& data, std::string& digest) const;
    // 0 when `signature` signs `digest` under `publicKey`;
    // kInvalidSignatureStatus when it does not, another code when the platform cannot tell (a key
    // it cannot import, an algorithm it lacks).
    LONG Verify(const std::string& publicKey, const std::string& digest,
                const std::string& signature) const;
    LONG GenerateKey(std::string& privateKey) const;
    LONG Sign(const std::string& privateKey, const std::string& digest,
              std::string& signature) const;

private:
    LONG ImportKey(const std::string& keyBytes, bool privateKey, BCRYPT_KEY_HANDLE& key) const;

    struct Api {
        decltype(&::BCryptOpenAlgorithmProvider) open;
        decltype(&::BCryptCloseAlgorithmProvider) close;
        decltype(&::BCryptCreateHash) createHash;
        decltype(&::BCryptHashData) hashData;
        decltype(&::BCryptFinishHash) finishHash;
        decltype(&::BCryptDestroyHash) destroyHash;
        decltype(&::BCryptImportKeyPair) importKeyPair;
        decltype(&::BCryptGenerateKeyPair) generateKeyPair;
        decltype(&::BCryptFinalizeKeyPair) finalizeKeyPair;
        decltype(&::BCryptExportKey) exportKey;
        decltype(&::BCryptDestroyKey) destroyKey;
        decltype(&::BCryptVerifySignature) verifySignature;
        decltype(&::BCryptSignHash) signHash;
    };

    HMODULE m_library = nullptr;
    Api m_api = {};
    BCRYPT_ALG_HANDLE m_ecdsa = nullptr;
    BCRYPT_ALG_HANDLE m_sha256 = nullptr;
    LONG m_status = 0;
};

} // namespace nv
