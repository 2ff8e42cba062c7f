#include "signature_section.h"

#include "download/ini_lines.h"
#include "download/ndc_keys.h"
#include "support/text.h"

namespace nv {

std::string WithSignatureSection(const std::string& content, const std::string& keyId,
                                 const std::string& signature)
{
    // Each signature section runs from its header's line to the next header.
    std::string kept;
    size_t copied = 0;
    bool dropping = false;
    ScanIniLines(
        content,
        [&](IniSpan name, size_t lineBegin) {
            if (!dropping)
                kept.append(content, copied, lineBegin - copied);
            copied = lineBegin;
            dropping =
                EqualsNoCase(content.substr(name.begin, name.length), ndc::kSignatureSection);
        },
        [](IniSpan, bool, IniSpan) {});
    if (!dropping)
        kept.append(content, copied, std::string::npos);
    const std::string lineBreak = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    if (!kept.empty() && kept.back() != '\n' && kept.back() != '\r')
        kept += lineBreak;
    kept += std::string("[") + ndc::kSignatureSection + "]" + lineBreak;
    if (!keyId.empty())
        kept += std::string(ndc::kKeyId) + "=" + keyId + lineBreak;
    kept += std::string(ndc::kSignature) + "=" + signature + lineBreak;
    return kept;
}

} // namespace nv
