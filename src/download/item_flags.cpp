#include "download/item_flags.h"

#include "download/ini_batch_writer.h"
#include "support/text.h"

namespace nv {

namespace {

// Texts shorter than this are taken for missing arguments.
const size_t kShortestText = 2;

} // namespace

bool IsGivenText(const std::string& text) { return text.size() >= kShortestText; }

// Written at once, under the file's lock so that a merge running beside it
// cannot replace the file with a text that lacks it. Callers must learn when
// the write did not land (missing folder, file held without write sharing,
// lock not had in time), which the item writers do not report: a flag they
// believe written would be missing for good.
int WriteItemFlag(const std::string& section, const std::string& ndcPath, const char* key,
                  int value)
{
    if (!IsGivenText(section) || !IsGivenText(ndcPath))
        return -1;
    return WriteProfileKey(ndcPath, section, key, FormatText("%d", value)) ? 0 : -1;
}

} // namespace nv
