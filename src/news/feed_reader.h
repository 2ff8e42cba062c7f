// One feed file: its items that are due, hold on this machine and are not
// set aside by the user are moved into an output channel.
#pragma once

#include "xml/nv_xml_node.h"

#include <windows.h>

#include <string>

namespace nv {

// Moves the feed's title and its passing items into `channel`, adding one to
// `*itemCount` per item. `*progressStep` tells how far reading got (2 to 5),
// for the message when an XML error ends it.
void ReadFeedItems(CNvXmlNode& channel, const std::string& feedPath, const std::string& category,
                   BOOL includeRead, BOOL includeHidden, BOOL checkConstraints, int* itemCount,
                   int* progressStep);

} // namespace nv
