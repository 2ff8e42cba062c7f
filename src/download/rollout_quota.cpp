#include "download/rollout_quota.h"

#include "frame/registry_path.h"
#include "support/text.h"

#include <cstdlib>
#include <ctime>

namespace nv {

namespace {

const char* const kMachineDicePathValue = "HKLM\\Software\\Norvane\\Download\\QuotaDiced";
const char* const kMachineGroupsPathValue = "HKLM\\Software\\Norvane\\Download\\PrivilegedGroup";
const int kDiceNotSet = -2;
const int kDiceRange = 1000;
// The machine's list is scanned at most this many fields deep.
const int kMaxMachineGroups = 1000;

// Process-wide, set once without a lock: every thread reads the same values.
int g_machineDice = kDiceNotSet;
bool g_machineDiceRead = false;
std::string g_machineGroups;
bool g_machineGroupsRead = false;
bool g_randomSeeded = false;

int MachineDice()
{
    if (!g_machineDiceRead) {
        std::string text = ReadRegistryPathValue(kMachineDicePathValue, std::string());
        if (!text.empty())
            g_machineDice = static_cast<int>(std::atol(text.c_str()));
        g_machineDiceRead = true;
    }
    return g_machineDice;
}

const std::string& MachineGroups()
{
    if (!g_machineGroupsRead) {
        g_machineGroups = ReadRegistryPathValue(kMachineGroupsPathValue, std::string());
        g_machineGroupsRead = true;
    }
    return g_machineGroups;
}

} // namespace

int DiceQuotaNumber()
{
    if (!g_randomSeeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        g_randomSeeded = true;
    }
    int machine = MachineDice();
    if (machine != kDiceNotSet)
        return machine;
    return std::rand() % kDiceRange;
}

bool IsMachineGroup(const std::string& group)
{
    const std::string& groups = MachineGroups();
    if (group.empty() || groups.empty())
        return false;
    std::string field;
    for (int index = 0; index < kMaxMachineGroups; ++index) {
        if (!ExtractSubString(field, groups, index, ';') || field.empty())
            return false;
        if (EqualsNoCase(field, group))
            return true;
    }
    return false;
}

} // namespace nv
