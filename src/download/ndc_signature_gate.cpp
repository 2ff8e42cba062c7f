#include "download/ndc_signature_gate.h"

#include "download/ndc_canonical.h"
#include "download/ndc_keys.h"
#include "download/ndc_limits.h"
#include "download/ndc_signature.h"
#include "support/base64_text.h"
#include "support/file_status.h"

#include <windows.h>

namespace nv {

namespace {

const char* const kKeysKey = "Software\\Norvane\\Download";
const char* const kKeysValue = "NdcPublicKeys";
// Far more than any list of keys an administrator keeps (89 bytes a key).
const DWORD kMaxKeysBytes = 64 * 1024;
const size_t kPublicKeyBytes = 64;

enum class KeysState { Off, Broken, On };

std::string TrimSpaces(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

KeysState ParseKeys(DWORD type, const std::string& data, std::vector<std::string>& keys)
{
    if (type != REG_SZ && type != REG_MULTI_SZ)
        return KeysState::Broken;
    std::vector<std::string> entries;
    for (size_t begin = 0; begin < data.size();) {
        size_t end = data.find('\0', begin);
        if (end == std::string::npos)
            end = data.size();
        // A multi-string ends at its first empty entry; a string at its first zero.
        if (end == begin)
            break;
        entries.push_back(TrimSpaces(data.substr(begin, end - begin)));
        if (type == REG_SZ)
            break;
        begin = end + 1;
    }
    for (const std::string& entry : entries) {
        std::string key;
        if (entry.empty())
            continue;
        if (!DecodeBase64(entry, key) || key.size() != kPublicKeyBytes)
            return KeysState::Broken;
        keys.push_back(key);
    }
    return keys.empty() ? KeysState::Off : KeysState::On;
}

// No registry view is named, as for the module's other keys: on 64-bit Windows the 32-bit
// module reads the 32-bit view.
KeysState ReadKeys(std::vector<std::string>& keys)
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKeysKey, 0, KEY_QUERY_VALUE, &key);
    if (result == ERROR_FILE_NOT_FOUND)
        return KeysState::Off;
    if (result != ERROR_SUCCESS)
        return KeysState::Broken;
    DWORD type = 0;
    DWORD size = 0;
    std::string data;
    result = RegQueryValueExA(key, kKeysValue, nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS && size <= kMaxKeysBytes) {
        data.resize(size);
        result = RegQueryValueExA(key, kKeysValue, nullptr, &type,
                                  reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(result == ERROR_SUCCESS ? size : 0);
    } else if (result == ERROR_SUCCESS) {
        result = ERROR_MORE_DATA;
    }
    RegCloseKey(key);
    if (result == ERROR_FILE_NOT_FOUND)
        return KeysState::Off;
    if (result != ERROR_SUCCESS)
        return KeysState::Broken;
    return ParseKeys(type, data, keys);
}

NdcCheck CheckFetched(const char* installedPath, const char* fetchedPath,
                      const std::vector<std::string>& keys)
{
    IniSnapshot fetched;
    if (!IniSnapshot::ReadFileWithin(fetchedPath, ndc::kMaxFileBytes, fetched)) {
        NdcCheck check;
        check.verdict = NdcVerdict::Unreadable;
        return check;
    }
    const CEcdsaP256 cng;
    NdcCheck check = CheckNdcSignature(fetched, keys, cng);
    if (check.verdict != NdcVerdict::Accepted)
        return check;
    // The installed file is the machine's own: one without a Serial takes any.
    IniSnapshot installed;
    if (!IniSnapshot::ReadFileWithin(installedPath, ndc::kMaxFileBytes, installed))
        return check;
    const std::string serial =
        installed.GetString(ndc::kHeaderSection, ndc::kSerial, "", ndc::kValueBufferSize);
    if (ParseNdcSerial(serial, check.installedSerial) && check.serial < check.installedSerial)
        check.verdict = NdcVerdict::OlderSerial;
    return check;
}

} // namespace

bool AcceptsFetchedNdc(const char* installedPath, const char* fetchedPath, std::string& reason)
{
    std::vector<std::string> keys;
    NdcCheck check;
    switch (ReadKeys(keys)) {
    case KeysState::Off:
        return true;
    case KeysState::Broken:
        check.verdict = NdcVerdict::BrokenKeys;
        break;
    case KeysState::On:
        if (!installedPath || !fetchedPath || !HasFileStatus(fetchedPath))
            return true;
        check = CheckFetched(installedPath, fetchedPath, keys);
        break;
    }
    reason = NdcRefusalText(check);
    return check.verdict == NdcVerdict::Accepted;
}

} // namespace nv
