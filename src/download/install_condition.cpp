#include "download/install_condition.h"

#include "constraint/version_number.h"
#include "download/condition_parser.h"
#include "frame/registry_path.h"
#include "profile/file_version.h"
#include "profile/nv_profile_item.h"
#include "support/file_status.h"
#include "support/text.h"

#include <cstdint>
#include <cstdio>

namespace nv {

namespace {

bool FolderExists(const std::string& path)
{
    DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file's version is not above `highest` and not below `lowest`; a bound
// that is empty or cannot be compared with the file is not tested.
bool FileVersionWithin(const std::string& path, const std::string& highest,
                       const std::string& lowest)
{
    int difference = 0;
    if (!highest.empty() && CompareFileVersion(path, highest, &difference) && difference < 0)
        return false;
    if (!lowest.empty() && CompareFileVersion(path, lowest, &difference) && difference > 0)
        return false;
    return true;
}

bool FolderTermHolds(const ConditionTerm& term, const std::string& folder)
{
    if (!FolderExists(folder))
        return false;
    if (term.fields[1].empty())
        return true;
    std::string file = folder;
    if (file.back() != '\\')
        file += '\\';
    file += term.fields[1];
    return nv::HasFileStatus(file) && FileVersionWithin(file, term.fields[2], term.fields[3]);
}

// The term's own result before any "!".
bool TermHolds(const ConditionTerm& term, const std::string& value)
{
    switch (term.type) {
    case 'F':
        return nv::HasFileStatus(value) && FileVersionWithin(value, term.fields[1], term.fields[2]);
    case 'D':
        return FolderTermHolds(term, value);
    case 'R':
        return !term.compare || EqualsNoCase(value, term.expected);
    case 'V':
        // The term names the highest version before the lowest.
        return IsVersionInRange(value, term.fields[2], term.fields[1]);
    default:
        return true;
    }
}

} // namespace

BOOL CompareFileVersion(const std::string& path, const std::string& versionText, int* difference)
{
    int file[4] = {};
    if (!GetFileVersion(&file[0], &file[1], &file[2], &file[3], -1, path.c_str()))
        return FALSE;
    int text[4] = {};
    if (std::sscanf(versionText.c_str(), "%d.%d.%d.%d", &text[0], &text[1], &text[2], &text[3]) !=
        4)
        return FALSE;
    // Part by part: packing the four parts into one 32-bit code, as older
    // editions did, wraps for major parts from 64 and aliases minor and build
    // parts from 128 (build numbers such as 19041 are common).
    int result = 0;
    for (int i = 0; i < 4 && result == 0; ++i) {
        if (text[i] != file[i])
            result = text[i] < file[i] ? -1 : 1;
    }
    if (difference)
        *difference = result;
    return TRUE;
}

int IsInstalliert(const std::string& condition)
{
    bool holds = true;
    for (const ConditionTerm& term : ParseCondition(condition)) {
        CNvProfileString item(term.fields[0].c_str(), std::string(), FALSE);
        item.SetAbsolute(TRUE);
        if (!item.Read()) {
            if (term.type != 'E')
                return 0;
            holds = (RegistryKeyPathExists(term.fields[0]) != term.negated) && holds;
            continue;
        }
        bool termHolds = TermHolds(term, item.GetValue());
        // An R term without a comparison only says the value could be read.
        if (term.negated && (term.type != 'R' || term.compare))
            termHolds = !termHolds;
        holds = termHolds && holds;
    }
    return holds ? 1 : 0;
}

} // namespace nv
