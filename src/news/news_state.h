// The read and hidden marks a user has set on the items of one feed, as the
// feed's state file holds them.
#pragma once

#include "support/bstr_text.h"

#include <string>
#include <unordered_map>

namespace nv {

struct NewsMarks {
    bool read = false;
    bool hidden = false;
};

class NewsStateRecords {
public:
    // Loads the state file at `statePath` when there is one. A file that was
    // read and does not parse is deleted: it can never be read again, and the
    // next mark set starts a fresh one. One that cannot be opened for the
    // moment is kept and read as no state.
    explicit NewsStateRecords(const std::string& statePath);

    bool IsLoaded() const { return m_loaded; }
    // The marks of the first record of `guid`; null when the user never
    // touched the item.
    const NewsMarks* Find(const nv::BstrText& guid) const;

private:
    bool m_loaded = false;
    // Built once per feed: looking each item up by XPath would scan all
    // records per item and grow with the square of the feed's size.
    std::unordered_map<std::wstring, NewsMarks> m_records;
};

} // namespace nv
