// The read and hidden marks a user has set on the items of one feed, as the
// feed's state file holds them.
#pragma once

#include "xml/nv_xml_document.h"

#include <string>
#include <unordered_map>

class NewsStateRecords {
public:
    // Loads the state file at `statePath` when there is one. A file that does
    // not load is deleted: it can never be read again, and the next mark set
    // starts a fresh one.
    explicit NewsStateRecords(const std::string& statePath);

    bool IsLoaded() const { return m_loaded; }
    // The first record of `guid`; empty when the user never touched the item.
    CNvXmlNode Find(const nv::BstrText& guid) const;

private:
    CNvXmlDocument m_document;
    bool m_loaded = false;
    // Built once per feed: looking each item up by XPath would scan all
    // records per item and grow with the square of the feed's size.
    std::unordered_map<std::wstring, CNvXmlNode> m_records;
};

// True when the record's child `name` holds exactly the text "1".
bool IsMarkSet(const CNvXmlNode& record, const char* name);
