#include "download/merge_messages.h"

#include "support/text.h"

namespace nv {

namespace {

// The framework's error text has always been taken into a buffer of 255
// characters.
const size_t kFrameworkTextLimit = 254;

const char* PathText(const char* path) { return path ? path : ""; }

} // namespace

std::string ComMergeMessage(const char* oldPath, long step, const ComError& error)
{
    return FormatText("Es trat ein COM-Fehler beim Mergen der NDC '%s' auf.\nFehler: %ld\n%s",
                      PathText(oldPath), step, error.ErrorMessage().c_str());
}

std::string FrameworkMergeMessage(const char* oldPath, long step, const char* errorText)
{
    std::string text = errorText ? errorText : "";
    if (text.size() > kFrameworkTextLimit)
        text.resize(kFrameworkTextLimit);
    return FormatText("Es trat ein MFC-Fehler beim Mergen der NDC '%s' auf.\nFehler: %ld\n%s",
                      PathText(oldPath), step, text.c_str());
}

std::string UnknownMergeMessage(const char* oldPath, long step)
{
    return FormatText(
        "Es trat ein unbekannter-Fehler beim Mergen der NDC '%s' auf.\nFehler: %ld\n%s",
        PathText(oldPath), step, "");
}

} // namespace nv
