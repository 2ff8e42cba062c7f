#include "download/ndc_canonical.h"

#include "download/ini_lines.h"
#include "download/ndc_keys.h"
#include "support/text.h"

namespace nv {

namespace {

bool WrittenByModule(const std::string& key)
{
    return EqualsNoCase(key, ndc::kUpdate) || EqualsNoCase(key, ndc::kDownload) ||
           EqualsNoCase(key, ndc::kQuotaDiced);
}

} // namespace

std::string CanonicalNdcContent(const std::string& text)
{
    std::string content;
    bool signedSection = false;
    ScanIniLines(
        text,
        [&](IniSpan name, size_t) {
            std::string section = text.substr(name.begin, name.length);
            signedSection = !section.empty() && !EqualsNoCase(section, ndc::kSignatureSection);
            if (signedSection)
                content.append("[").append(section).append("]\n");
        },
        [&](IniSpan name, bool hasValue, IniSpan value) {
            std::string key = text.substr(name.begin, name.length);
            if (!signedSection || (!key.empty() && key[0] == ';') || WrittenByModule(key))
                return;
            content.append(key);
            if (hasValue)
                content.append("=").append(text, value.begin, value.length);
            content.append("\n");
        });
    return content;
}

bool ParseNdcSerial(const std::string& text, long long& serial)
{
    const unsigned long long limit = 0x7FFFFFFFFFFFFFFFull;
    if (text.empty() || text.size() > 19)
        return false;
    unsigned long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned long long>(c - '0');
    }
    if (value > limit)
        return false;
    serial = static_cast<long long>(value);
    return true;
}

} // namespace nv
