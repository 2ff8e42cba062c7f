// The "Update" element: one item of an NDC file as its two readers receive
// it. They have always read different shapes, and both are kept: the update
// manager's list has thirteen children with the destination folder resolved
// (and created) and a flag set by any non-zero value; the product's
// information panel has seventeen, the destination as written and a flag
// set only by exactly 1.
#pragma once

#include "xml/nv_xml_node.h"

class CDownloadItem;

namespace nv {

// For the update list (GetUpdates).
CNvXmlNode AddListedUpdate(CNvXmlNode& updates, CDownloadItem& item);

// For the update infos' panel.
CNvXmlNode AddPanelUpdate(CNvXmlNode& updates, CDownloadItem& item);

} // namespace nv
