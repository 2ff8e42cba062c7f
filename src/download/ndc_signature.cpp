#include "download/ndc_signature.h"

#include "download/ndc_canonical.h"
#include "download/ndc_keys.h"
#include "support/base64_text.h"
#include "support/text.h"

namespace nv {

namespace {

const size_t kKeyIdDigits = 8;

// A KeyId as the signing tool writes it. Anything else in a fetched file is
// not repeated in a message.
bool IsKeyIdText(const std::string& text)
{
    if (text.size() != kKeyIdDigits)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

NdcCheck Verdict(NdcVerdict verdict, LONG status = 0)
{
    NdcCheck check;
    check.verdict = verdict;
    check.status = status;
    return check;
}

} // namespace

LONG NdcKeyId(const CEcdsaP256& cng, const std::string& publicKey, std::string& keyId)
{
    std::string digest;
    LONG status = cng.Sha256(publicKey, digest);
    if (status != 0)
        return status;
    keyId.clear();
    for (size_t i = 0; i < kKeyIdDigits / 2; ++i)
        keyId += FormatText("%02x", static_cast<unsigned char>(digest[i]));
    return 0;
}

NdcCheck CheckNdcSignature(const IniSnapshot& file, const std::vector<std::string>& keys,
                           const CEcdsaP256& cng)
{
    const IniSnapshot::SectionView section = file.FindSection(ndc::kSignatureSection);
    const std::string text = section.GetString(ndc::kSignature, "", ndc::kValueBufferSize);
    const std::string keyId = section.GetString(ndc::kKeyId, "", ndc::kValueBufferSize);
    if (text.empty())
        return Verdict(NdcVerdict::Unsigned);
    std::string signature;
    if (!DecodeBase64(text, signature))
        return Verdict(NdcVerdict::Mismatch);
    std::string digest;
    LONG status = cng.Sha256(CanonicalNdcContent(file.Text()), digest);
    if (status != 0)
        return Verdict(NdcVerdict::Unavailable, status);
    LONG unavailable = 0;
    bool knownKey = false;
    bool signedByKey = false;
    for (const std::string& key : keys) {
        status = cng.Verify(key, digest, signature);
        if (status == 0) {
            signedByKey = true;
            break;
        }
        if (status != kInvalidSignatureStatus && unavailable == 0)
            unavailable = status;
        std::string id;
        if (NdcKeyId(cng, key, id) == 0 && EqualsNoCase(id, keyId))
            knownKey = true;
    }
    if (!signedByKey) {
        if (unavailable != 0)
            return Verdict(NdcVerdict::Unavailable, unavailable);
        if (!knownKey && IsKeyIdText(keyId)) {
            NdcCheck check = Verdict(NdcVerdict::UnknownKey);
            check.keyId = keyId;
            return check;
        }
        return Verdict(NdcVerdict::Mismatch);
    }
    NdcCheck check;
    const std::string serial =
        file.GetString(ndc::kHeaderSection, ndc::kSerial, "", ndc::kValueBufferSize);
    if (!ParseNdcSerial(serial, check.serial))
        return Verdict(NdcVerdict::NoSerial);
    return check;
}

std::string NdcRefusalText(const NdcCheck& check)
{
    switch (check.verdict) {
    case NdcVerdict::Accepted:
        return std::string();
    case NdcVerdict::Unsigned:
        return "Die NDC ist nicht signiert.";
    case NdcVerdict::Mismatch:
        return "Die Signatur passt nicht zum Inhalt der NDC.";
    case NdcVerdict::UnknownKey:
        return FormatText("Die NDC ist mit einem Schl\xFCssel signiert, der auf diesem Rechner "
                          "nicht hinterlegt ist (KeyId %s).",
                          check.keyId.c_str());
    case NdcVerdict::NoSerial:
        return "Die NDC hat keine g\xFCltige Serial im Abschnitt [Header].";
    case NdcVerdict::OlderSerial:
        return FormatText("Die NDC ist \xE4lter als die installierte (Serial %s, installiert %s).",
                          std::to_string(check.serial).c_str(),
                          std::to_string(check.installedSerial).c_str());
    case NdcVerdict::BrokenKeys:
        return "Die Liste der vertrauensw\xFCrdigen Schl\xFCssel (NdcPublicKeys) ist fehlerhaft.";
    case NdcVerdict::Unavailable:
        return FormatText("Die Signaturpr\xFC"
                          "fung ist auf diesem Rechner nicht verf\xFCgbar "
                          "(Fehler 0x%08lX).",
                          static_cast<unsigned long>(check.status));
    case NdcVerdict::Unreadable:
        return "Die NDC kann nicht gelesen werden.";
    }
    return std::string();
}

} // namespace nv
