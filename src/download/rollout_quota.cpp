#include "download/rollout_quota.h"

#include "frame/registry_path.h"
#include "support/text.h"

#include <windows.h>
// After windows.h: the system's random source is declared for user mode here.
#include <ntsecapi.h>
#include <wincrypt.h>

#include <cstdlib>
#include <ctime>
#include <mutex>
#include <random>

namespace nv {

namespace {

const char* const kMachineDicePathValue = "HKLM\\Software\\Norvane\\Download\\QuotaDiced";
const char* const kMachineGroupsPathValue = "HKLM\\Software\\Norvane\\Download\\PrivilegedGroup";
const int kDiceNotSet = -2;
const int kDiceRange = 1000;
// The machine's list is scanned at most this many fields deep.
const int kMaxMachineGroups = 1000;

// Read once per process; function-local statics are initialised once even
// when two threads ask first at the same moment.
int MachineDice()
{
    static const int dice = [] {
        std::string text = ReadRegistryPathValue(kMachineDicePathValue, std::string());
        return text.empty() ? kDiceNotSet : static_cast<int>(std::atol(text.c_str()));
    }();
    return dice;
}

const std::string& MachineGroups()
{
    static const std::string groups = ReadRegistryPathValue(kMachineGroupsPathValue, std::string());
    return groups;
}

// The system's random source, for the seed only. Seeding from the clock put
// machines that first diced in the same second into the same rollout group,
// and the runtime's rand() keeps its state per thread, so every new thread
// drew the same sequence on every machine.
std::mt19937::result_type RandomSeed()
{
    std::mt19937::result_type seed = 0;
    if (RtlGenRandom(&seed, sizeof(seed)))
        return seed;
    HCRYPTPROV provider = 0;
    if (CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL,
                             CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
        BOOL drawn = CryptGenRandom(provider, sizeof(seed), reinterpret_cast<BYTE*>(&seed));
        CryptReleaseContext(provider, 0);
        if (drawn)
            return seed;
    }
    // Neither source answered: at least differ per process and moment.
    return static_cast<std::mt19937::result_type>(GetTickCount() ^ (GetCurrentProcessId() << 16) ^
                                                  static_cast<DWORD>(std::time(nullptr)));
}

} // namespace

int DiceQuotaNumber()
{
    int machine = MachineDice();
    if (machine != kDiceNotSet)
        return machine;
    static std::mutex guard;
    static std::mt19937 generator(RandomSeed());
    std::uniform_int_distribution<int> range(0, kDiceRange - 1);
    std::lock_guard<std::mutex> lock(guard);
    return range(generator);
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
