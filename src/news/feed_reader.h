// One feed file: its items that are due, hold on this machine and are not
// set aside by the user are moved into an output channel.
#pragma once

#include "constraint/constraint_evaluator.h"
#include "xml/nv_xml_node.h"

#include <windows.h>

#include <string>

namespace nv {

// What the feeds one call reads share, found at first use and kept only while
// the call runs: the state folder (the shell's answer costs more than reading
// a small feed) and the Windows version of the constraints.
struct FeedReadShared {
    bool stateFolderKnown = false;
    std::string stateFolder;
    ConstraintReads reads;
};

// Moves the feed's title and its passing items into `channel`, adding one to
// `*itemCount` per item. `*progressStep` tells how far reading got (2 to 5),
// for the message when an XML error ends it. Without `shared` the feed shares
// nothing.
void ReadFeedItems(CNvXmlNode& channel, const std::string& feedPath, const std::string& category,
                   BOOL includeRead, BOOL includeHidden, BOOL checkConstraints, int* itemCount,
                   int* progressStep, FeedReadShared* shared = nullptr);

} // namespace nv
