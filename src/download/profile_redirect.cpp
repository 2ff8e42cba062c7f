#include "download/profile_redirect.h"

#include "profile/nv_profile_item.h"
#include "support/text.h"

namespace nv {

namespace {

struct Reference {
    std::string path;
    std::string suffix;
    bool hasSuffix = false;
};

Reference SplitReference(const std::string& raw)
{
    Reference reference;
    const std::string text = raw.substr(2);
    ExtractSubString(reference.path, text, 0, ';');
    reference.hasSuffix = ExtractSubString(reference.suffix, text, 1, ';');
    return reference;
}

// The setting's value; false when the path is empty or the read fails.
bool ReadSetting(const std::string& path, std::string& value)
{
    if (path.empty())
        return false;
    CNvProfileString item(path.c_str(), std::string(), FALSE);
    item.SetAbsolute(TRUE);
    if (!item.Read())
        return false;
    value = item.GetValue();
    return true;
}

bool EndsWithBackslash(const std::string& text) { return !text.empty() && text.back() == '\\'; }

} // namespace

std::string ResolveFileUrl(std::string raw)
{
    if (raw.size() < 3 || (raw[0] != '/' && raw[0] != '-') || (raw[1] != 'r' && raw[1] != 'R'))
        return raw;
    Reference reference = SplitReference(raw);
    std::string value;
    if (!ReadSetting(reference.path, value))
        return raw;
    if (!EndsWithBackslash(value))
        value += '\\';
    return value + reference.suffix;
}

std::string ResolveLocalUrl(const std::string& raw)
{
    if (raw.size() < 2 || raw[0] != '/' || (raw[1] != 'r' && raw[1] != 'R'))
        return raw;
    Reference reference = SplitReference(raw);
    std::string value;
    if (!ReadSetting(reference.path, value))
        return raw.substr(2);
    if (reference.hasSuffix) {
        if (!EndsWithBackslash(value))
            value += '\\';
        value += reference.suffix;
    }
    return value.empty() ? raw.substr(2) : value;
}

} // namespace nv
