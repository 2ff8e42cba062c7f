// The "Update" element: one item of an NDC file as its two readers receive
// it. They have always read different shapes, and both are kept: the update
// manager's list has thirteen children with the destination folder resolved
// (and created) and a flag set by any non-zero value; the product's
// information panel has seventeen, the destination as written and a flag
// set only by exactly 1.
#pragma once

#include "xml/nv_xml_node.h"

#include <string>
#include <unordered_set>
#include <vector>

class CDownloadItem;

namespace nv {

// For the update list (GetUpdates): one writer per list document. The tag
// names are made once per list, and a destination folder found or made is not
// looked for again while the list is built: under Wine each look scans the
// folder's parent.
class ListedUpdateWriter {
public:
    explicit ListedUpdateWriter(const nv::ComPtr<IXMLDOMDocument>& document);

    void Add(CNvXmlNode& updates, CDownloadItem& item);

private:
    nv::ComPtr<IXMLDOMDocument> m_document;
    std::vector<nv::BstrText> m_tags;
    std::unordered_set<std::string> m_foldersPresent;
};

// For the update infos' panel.
CNvXmlNode AddPanelUpdate(CNvXmlNode& updates, CDownloadItem& item);

} // namespace nv
