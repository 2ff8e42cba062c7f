#include "news/news_item_state.h"

#include "frame/constants.h"
#include "news/news_files.h"
#include "news/news_texts.h"
#include "support/com_apartment.h"
#include "support/file_replace.h"
#include "support/file_status.h"
#include "support/file_write_lock.h"
#include "support/message_box.h"
#include "support/shared_file.h"
#include "support/text.h"
#include "xml/nv_xml_document.h"
#include "xml/xpath_literal.h"

namespace {

// Raises the failure `hr` of a file operation with what was attempted on which path.
void ThrowFileError(HRESULT hr, const char* attempt, const std::string& path)
{
    NvXmlClass::ThrowIf(true, FAILED(hr) ? hr : E_FAIL, "%s %s: %s", attempt, path.c_str(),
                        nv::ErrorMessageFor(hr).c_str());
}

// The state file holds the marks of every item of the feed. Writing it in
// place would lose them all if the write broke off (full disk, crash), so the
// new content goes to a file beside it that replaces the old one only when
// it was written completely.
void SaveStateFile(CNvXmlDocument& state, const std::string& statePath)
{
    size_t separator = statePath.find_last_of('\\');
    NvXmlClass::ThrowIf(separator == std::string::npos, E_FAIL,
                        "Not possible to save XML file, filename is missing!");
    std::string saved;
    nv::ReplaceOutcome outcome =
        nv::ReplaceFileContent(statePath, "nvs", [&](const char* temporary) {
            state.Save(temporary);
            return nv::ReadSharedFile(temporary, saved);
        });
    // A reader that shares writing but not deletion (most do) blocks the
    // replace, not a write in place, which is what the file always got
    // before: losing the mark would be worse than the risk of a torn write.
    if (outcome.failedStep == nv::ReplaceStep::Replace && nv::WriteWholeFile(statePath, saved))
        return;
    if (outcome.failedStep == nv::ReplaceStep::CreateTemporary)
        ThrowFileError(HRESULT_FROM_WIN32(outcome.error), "Cannot create a file in",
                       statePath.substr(0, separator));
    if (!outcome.Succeeded())
        ThrowFileError(HRESULT_FROM_WIN32(outcome.error), "Cannot replace", statePath);
}

} // namespace

namespace nv {

HRESULT SetNewsItemState(const std::string& feedPath, const std::string& guid, long readState,
                         long hiddenState)
{
    if (feedPath.empty() || guid.empty() || !nv::HasFileStatus(feedPath))
        return E_INVALIDARG;
    // Before the try: the error the handler shows may hold an object of the parser's.
    nv::ComApartment com;
    try {
        CNvXmlDocument feed;
        feed.Load(feedPath);
        std::string literal = XPathLiteral(guid);
        if (feed.DocumentElement()
                .SelectSingleNodePath("channel/item[guid =" + literal +
                                      "]|channel/orvo2/item[guid =" + literal + "]")
                .IsEmpty())
            return E_INVALIDARG;

        std::string statePath = GetNewsStateFilePath(feedPath);
        // Another thread or program marking an item of the same feed would
        // otherwise save its own copy over ours, and one of the marks is gone.
        nv::CFileWriteLock lock(statePath);
        if (!lock.IsHeld())
            ThrowFileError(HRESULT_FROM_WIN32(lock.Error()), "Cannot lock", statePath);
        CNvXmlDocument state;
        if (nv::HasFileStatus(statePath))
            state.Load(statePath);
        else
            state.LoadXml(nv::kEmptyFeed);
        CNvXmlNode record =
            state.DocumentElement().SelectSingleNodePath("channel/item[guid=" + literal + "]");
        if (record.IsEmpty()) {
            record = state.SelectSingleNode("channel").AddChild("item", "");
            record.AddChild("guid", guid.c_str());
        }
        // -1 leaves a mark as it is, so a caller can set one without the other.
        if (readState != -1)
            record.SetChildNumber("read", readState);
        if (hiddenState != -1)
            record.SetChildNumber("dontshow", hiddenState);
        SaveStateFile(state, statePath);
        return S_OK;
    } catch (const nv::ComError& error) {
        nv::AppMessageBox(
            nv::FormatText(nv::kSetNewsItemStateErrorText, error.Description().c_str()), MB_OK);
        return FAILED(error.Error()) ? error.Error() : E_FAIL;
    }
}

} // namespace nv
