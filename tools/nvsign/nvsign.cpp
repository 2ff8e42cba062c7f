// nvsign: the publisher's tool for signed NDC files.
//
//   nvsign keygen PRIVATE.key              new key pair; prints the public key for the registry
//   nvsign sign PRIVATE.key FILE.ndc        adds or replaces the file's signature
//   nvsign verify PUBLIC FILE.ndc           exit 0 when PUBLIC signed the file, 1 with the reason
//   nvsign canonical FILE.ndc               the signed content, to standard output
//   nvsign attach FILE.ndc SIGNATURE [PUBLIC]  a signature made elsewhere (base64 r||s)
//
// PUBLIC and SIGNATURE are base64 texts or files holding one. A private key
// file holds the base64 text of X||Y||d; it is never printed.
#include "signature_section.h"

#include "download/ini_snapshot.h"
#include "download/ndc_canonical.h"
#include "download/ndc_keys.h"
#include "download/ndc_limits.h"
#include "download/ndc_signature.h"
#include "support/base64_text.h"
#include "support/ecdsa_p256.h"
#include "support/file_replace.h"
#include "support/file_status.h"
#include "support/shared_file.h"
#include "support/text.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace {

const size_t kPublicKeyBytes = 64;
const size_t kPrivateKeyBytes = 96;
const size_t kSignatureBytes = 64;

int Fail(const std::string& text)
{
    std::fprintf(stderr, "nvsign: %s\n", text.c_str());
    return 1;
}

std::string WithoutBlanks(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

// `argument` as base64 of `size` bytes, or the text of the file it names.
bool ReadBase64(const std::string& argument, size_t size, std::string& bytes)
{
    if (nv::DecodeBase64(argument, bytes) && bytes.size() == size)
        return true;
    std::string content;
    return nv::ReadSharedFile(argument, content, nullptr, 4096) &&
           nv::DecodeBase64(WithoutBlanks(content), bytes) && bytes.size() == size;
}

// The file as the module reads it, refused when no signature could be
// written into it or its header lacks a Serial.
bool ReadSignable(const std::string& path, nv::IniSnapshot& file, std::string& content)
{
    DWORD error = ERROR_SUCCESS;
    long long serial = 0;
    if (!nv::ReadSharedFile(path, content, &error, nv::ndc::kMaxFileBytes))
        Fail(path + ": cannot be read (error " + std::to_string(error) + ")");
    else if (content.compare(0, 2, "\xFF\xFE") == 0 || content.compare(0, 2, "\xFE\xFF") == 0)
        Fail(path + ": UTF-16 files are not signed; save it as ANSI or UTF-8");
    else if (!nv::IniSnapshot::ReadFileWithin(path, nv::ndc::kMaxFileBytes, file) ||
             !nv::ParseNdcSerial(file.GetString(nv::ndc::kHeaderSection, nv::ndc::kSerial, "",
                                                nv::ndc::kValueBufferSize),
                                 serial))
        Fail(path + ": [Header] needs a Serial (a decimal number up to 2^63-1)");
    else
        return true;
    return false;
}

bool Digest(const nv::CEcdsaP256& cng, const nv::IniSnapshot& file, std::string& digest)
{
    LONG status = cng.Sha256(nv::CanonicalNdcContent(file.Text()), digest);
    if (status != 0)
        Fail("SHA-256 unavailable (0x" + nv::FormatText("%08lX", (unsigned long)status) + ")");
    return status == 0;
}

int WriteSigned(const std::string& path, const std::string& content, const std::string& keyId,
                const std::string& signature)
{
    const std::string text = nv::WithSignatureSection(content, keyId, nv::EncodeBase64(signature));
    nv::ReplaceOutcome outcome = nv::ReplaceFileBytes(path, "nvs", text);
    if (!outcome.Succeeded())
        return Fail(path + ": cannot be written (error " + std::to_string(outcome.error) + ")");
    std::printf("signed %s%s\n", path.c_str(),
                keyId.empty() ? "" : (" (KeyId " + keyId + ")").c_str());
    return 0;
}

int KeyGen(const nv::CEcdsaP256& cng, const std::string& keyPath)
{
    std::string privateKey;
    LONG status = cng.GenerateKey(privateKey);
    if (status != 0)
        return Fail(nv::FormatText("key generation unavailable (0x%08lX)", (unsigned long)status));
    std::string keyId;
    nv::NdcKeyId(cng, privateKey.substr(0, kPublicKeyBytes), keyId);
    // A new file only: an existing key is never overwritten.
    HANDLE file = CreateFileA(keyPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(keyPath + ": cannot be created (error " + std::to_string(GetLastError()) + ")");
    const std::string text = nv::EncodeBase64(privateKey) + "\r\n";
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    CloseHandle(file);
    if (!ok) {
        DeleteFileA(keyPath.c_str());
        return Fail(keyPath + ": cannot be written");
    }
    std::fprintf(stderr, "private key in %s, KeyId %s; the public key for NdcPublicKeys:\n",
                 keyPath.c_str(), keyId.c_str());
    std::printf("%s\n", nv::EncodeBase64(privateKey.substr(0, kPublicKeyBytes)).c_str());
    return 0;
}

int Sign(const nv::CEcdsaP256& cng, const std::string& keyPath, const std::string& path)
{
    std::string privateKey;
    std::string text;
    if (!nv::ReadSharedFile(keyPath, text, nullptr, 4096) ||
        !nv::DecodeBase64(WithoutBlanks(text), privateKey) || privateKey.size() != kPrivateKeyBytes)
        return Fail(keyPath + ": no private key made by nvsign keygen");
    nv::IniSnapshot file;
    std::string content;
    std::string digest;
    if (!ReadSignable(path, file, content) || !Digest(cng, file, digest))
        return 1;
    std::string signature;
    LONG status = cng.Sign(privateKey, digest, signature);
    if (status != 0)
        return Fail(nv::FormatText("signing unavailable (0x%08lX)", (unsigned long)status));
    std::string keyId;
    nv::NdcKeyId(cng, privateKey.substr(0, kPublicKeyBytes), keyId);
    return WriteSigned(path, content, keyId, signature);
}

int Verify(const nv::CEcdsaP256& cng, const std::string& publicArgument, const std::string& path)
{
    std::string publicKey;
    if (!ReadBase64(publicArgument, kPublicKeyBytes, publicKey))
        return Fail(publicArgument + ": no public key (base64 of 64 bytes)");
    nv::NdcCheck check;
    nv::IniSnapshot file;
    if (!nv::HasFileStatus(path) ||
        !nv::IniSnapshot::ReadFileWithin(path, nv::ndc::kMaxFileBytes, file))
        check.verdict = nv::NdcVerdict::Unreadable;
    else
        check = nv::CheckNdcSignature(file, {publicKey}, cng);
    if (check.verdict != nv::NdcVerdict::Accepted)
        return Fail(path + ": " + nv::NdcRefusalText(check));
    std::printf("%s: signed, Serial %s\n", path.c_str(), std::to_string(check.serial).c_str());
    return 0;
}

int Canonical(const std::string& path)
{
    nv::IniSnapshot file;
    std::string content;
    if (!ReadSignable(path, file, content))
        return 1;
    const std::string canonical = nv::CanonicalNdcContent(file.Text());
    // The bytes as they are signed: no LF may become CR LF on the way out.
    _setmode(_fileno(stdout), _O_BINARY);
    return std::fwrite(canonical.data(), 1, canonical.size(), stdout) == canonical.size() ? 0 : 1;
}

int Attach(const nv::CEcdsaP256& cng, const std::string& path, const std::string& signatureArgument,
           const std::string* publicArgument)
{
    std::string signature;
    if (!ReadBase64(signatureArgument, kSignatureBytes, signature))
        return Fail(signatureArgument + ": no signature (base64 of r||s, 64 bytes)");
    nv::IniSnapshot file;
    std::string content;
    if (!ReadSignable(path, file, content))
        return 1;
    std::string keyId;
    if (publicArgument) {
        std::string publicKey;
        std::string digest;
        if (!ReadBase64(*publicArgument, kPublicKeyBytes, publicKey))
            return Fail(*publicArgument + ": no public key (base64 of 64 bytes)");
        if (!Digest(cng, file, digest))
            return 1;
        LONG status = cng.Verify(publicKey, digest, signature);
        if (status != 0)
            return Fail(nv::FormatText("the signature does not sign this file (0x%08lX)",
                                       (unsigned long)status));
        nv::NdcKeyId(cng, publicKey, keyId);
    }
    return WriteSigned(path, content, keyId, signature);
}

int Usage()
{
    std::fprintf(stderr, "usage: nvsign keygen PRIVATE.key\n"
                         "       nvsign sign PRIVATE.key FILE.ndc\n"
                         "       nvsign verify PUBLIC FILE.ndc\n"
                         "       nvsign canonical FILE.ndc\n"
                         "       nvsign attach FILE.ndc SIGNATURE [PUBLIC]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "canonical" && argc == 3)
        return Canonical(argv[2]);
    const bool known = (command == "keygen" && argc == 3) ||
                       ((command == "sign" || command == "verify") && argc == 4) ||
                       (command == "attach" && (argc == 4 || argc == 5));
    if (!known)
        return Usage();
    const nv::CEcdsaP256 cng;
    if (cng.Status() != 0)
        return Fail(
            nv::FormatText("CNG (bcrypt.dll) unavailable (0x%08lX)", (unsigned long)cng.Status()));
    if (command == "keygen")
        return KeyGen(cng, argv[2]);
    if (command == "sign")
        return Sign(cng, argv[2], argv[3]);
    if (command == "verify")
        return Verify(cng, argv[2], argv[3]);
    const std::string publicArgument = argc == 5 ? argv[4] : "";
    return Attach(cng, argv[2], argv[3], argc == 5 ? &publicArgument : nullptr);
}
