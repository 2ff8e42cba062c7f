// The machine's side of the staged rollout: its own dice number, when an
// administrator has set one, and the machine groups that skip the quota.
// Both are read once per process.
#pragma once

#include <string>

namespace nv {

// A number from 0 to 999 for an item that has not diced yet, or the
// machine's own number when the registry sets one.
int DiceQuotaNumber();

// True when `group` is one of the machine's privileged groups (compared
// without regard to case). An empty field in the machine's list ends it.
bool IsMachineGroup(const std::string& group);

} // namespace nv
