#include "support/ecdsa_p256.h"

namespace nv {

namespace {

const ULONG kNumberBytes = 32;
const LONG kInvalidParameterStatus = static_cast<LONG>(STATUS_INVALID_PARAMETER);

template <class Function> bool Resolve(HMODULE library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

PUCHAR Bytes(const std::string& data)
{
    return reinterpret_cast<PUCHAR>(const_cast<char*>(data.data()));
}

} // namespace

CEcdsaP256::CEcdsaP256()
{
    // By its full path: a bcrypt.dll in the caller's folder or current folder must not stand in.
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        m_status = HRESULT_FROM_WIN32(GetLastError());
        return;
    }
    m_library = LoadLibraryA((std::string(folder, length) + "\\bcrypt.dll").c_str());
    if (!m_library) {
        m_status = HRESULT_FROM_WIN32(GetLastError());
        return;
    }
    Api& api = m_api;
    if (!Resolve(m_library, "BCryptOpenAlgorithmProvider", api.open) ||
        !Resolve(m_library, "BCryptCloseAlgorithmProvider", api.close) ||
        !Resolve(m_library, "BCryptCreateHash", api.createHash) ||
        !Resolve(m_library, "BCryptHashData", api.hashData) ||
        !Resolve(m_library, "BCryptFinishHash", api.finishHash) ||
        !Resolve(m_library, "BCryptDestroyHash", api.destroyHash) ||
        !Resolve(m_library, "BCryptImportKeyPair", api.importKeyPair) ||
        !Resolve(m_library, "BCryptGenerateKeyPair", api.generateKeyPair) ||
        !Resolve(m_library, "BCryptFinalizeKeyPair", api.finalizeKeyPair) ||
        !Resolve(m_library, "BCryptExportKey", api.exportKey) ||
        !Resolve(m_library, "BCryptDestroyKey", api.destroyKey) ||
        !Resolve(m_library, "BCryptVerifySignature", api.verifySignature) ||
        !Resolve(m_library, "BCryptSignHash", api.signHash)) {
        m_status = HRESULT_FROM_WIN32(GetLastError());
        return;
    }
    m_status = api.open(&m_ecdsa, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0);
    if (m_status == 0)
        m_status = api.open(&m_sha256, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
}

CEcdsaP256::~CEcdsaP256()
{
    if (m_sha256)
        m_api.close(m_sha256, 0);
    if (m_ecdsa)
        m_api.close(m_ecdsa, 0);
    if (m_library)
        FreeLibrary(m_library);
}

LONG CEcdsaP256::Sha256(const std::string& data, std::string& digest) const
{
    if (m_status != 0)
        return m_status;
    // A hash object of the provider's own (null buffer): the pseudo-handles
    // and the one-call BCryptHash exist only from Windows 10 on.
    BCRYPT_HASH_HANDLE hash = nullptr;
    LONG status = m_api.createHash(m_sha256, &hash, nullptr, 0, nullptr, 0, 0);
    if (status != 0)
        return status;
    std::string result(kNumberBytes, '\0');
    status = m_api.hashData(hash, Bytes(data), static_cast<ULONG>(data.size()), 0);
    if (status == 0)
        status = m_api.finishHash(hash, Bytes(result), kNumberBytes, 0);
    m_api.destroyHash(hash);
    if (status == 0)
        digest = result;
    return status;
}

LONG CEcdsaP256::ImportKey(const std::string& keyBytes, bool privateKey,
                           BCRYPT_KEY_HANDLE& key) const
{
    if (keyBytes.size() != (privateKey ? 3 : 2) * kNumberBytes)
        return kInvalidParameterStatus;
    BCRYPT_ECCKEY_BLOB header = {privateKey ? ULONG(BCRYPT_ECDSA_PRIVATE_P256_MAGIC)
                                            : ULONG(BCRYPT_ECDSA_PUBLIC_P256_MAGIC),
                                 kNumberBytes};
    std::string blob(reinterpret_cast<const char*>(&header), sizeof header);
    blob += keyBytes;
    LONG status = m_api.importKeyPair(m_ecdsa, nullptr,
                                      privateKey ? BCRYPT_ECCPRIVATE_BLOB : BCRYPT_ECCPUBLIC_BLOB,
                                      &key, Bytes(blob), static_cast<ULONG>(blob.size()), 0);
    SecureZeroMemory(&blob[0], blob.size());
    return status;
}

LONG CEcdsaP256::Verify(const std::string& publicKey, const std::string& digest,
                        const std::string& signature) const
{
    if (m_status != 0)
        return m_status;
    // The platform accepts a valid signature with bytes appended (measured
    // under Wine): only exactly r||s counts.
    if (signature.size() != 2 * kNumberBytes)
        return kInvalidSignatureStatus;
    if (digest.size() != kNumberBytes)
        return kInvalidParameterStatus;
    BCRYPT_KEY_HANDLE key = nullptr;
    LONG status = ImportKey(publicKey, false, key);
    if (status != 0)
        return status;
    status = m_api.verifySignature(key, nullptr, Bytes(digest), kNumberBytes, Bytes(signature),
                                   2 * kNumberBytes, 0);
    m_api.destroyKey(key);
    return status;
}

LONG CEcdsaP256::GenerateKey(std::string& privateKey) const
{
    if (m_status != 0)
        return m_status;
    BCRYPT_KEY_HANDLE key = nullptr;
    LONG status = m_api.generateKeyPair(m_ecdsa, &key, 256, 0);
    if (status != 0)
        return status;
    std::string blob(sizeof(BCRYPT_ECCKEY_BLOB) + 3 * kNumberBytes, '\0');
    ULONG written = 0;
    status = m_api.finalizeKeyPair(key, 0);
    if (status == 0)
        status = m_api.exportKey(key, nullptr, BCRYPT_ECCPRIVATE_BLOB, Bytes(blob),
                                 static_cast<ULONG>(blob.size()), &written, 0);
    m_api.destroyKey(key);
    if (status == 0 && written != blob.size())
        status = kInvalidParameterStatus;
    if (status == 0)
        privateKey = blob.substr(sizeof(BCRYPT_ECCKEY_BLOB));
    SecureZeroMemory(&blob[0], blob.size());
    return status;
}

LONG CEcdsaP256::Sign(const std::string& privateKey, const std::string& digest,
                      std::string& signature) const
{
    if (m_status != 0)
        return m_status;
    if (digest.size() != kNumberBytes)
        return kInvalidParameterStatus;
    BCRYPT_KEY_HANDLE key = nullptr;
    LONG status = ImportKey(privateKey, true, key);
    if (status != 0)
        return status;
    // The size query answers 32 under Wine, too short for r||s: the buffer is sized here.
    std::string result(2 * kNumberBytes, '\0');
    ULONG written = 0;
    status = m_api.signHash(key, nullptr, Bytes(digest), kNumberBytes, Bytes(result),
                            static_cast<ULONG>(result.size()), &written, 0);
    m_api.destroyKey(key);
    if (status == 0 && written != result.size())
        status = kInvalidParameterStatus;
    if (status == 0)
        signature = result;
    return status;
}

} // namespace nv
