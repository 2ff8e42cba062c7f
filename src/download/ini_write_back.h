// One file's share of a batch of key writes: the keys go into the file's
// current text, and the result takes the file's place only while the file
// still holds the text that was edited. Writers of this module serialise on
// the file's lock, but the suite's other programs write NDC files through the
// platform without it: a write of theirs between our read and our replace
// would be lost, so the edit is made again on the new text.
#pragma once

#include "download/ini_snapshot.h"
#include "download/ini_text_edit.h"
#include "support/file_replace.h"

#include <string>
#include <vector>

namespace nv {

// Rounds of read, edit and replace before the writes go key by key.
const int kWriteBackRounds = 3;

// The file as the write-back sees it.
class IniFileAccess {
public:
    virtual ~IniFileAccess() = default;
    // The file's bytes; false when it cannot be read (missing, held).
    virtual bool Read(std::string& content) = 0;
    // The bytes Read gives, parsed for the edit.
    virtual bool ReadParsed(IniSnapshot& parsed);
    // Puts `text` in the file's place unless the file no longer holds
    // `basis` (outcome step Changed).
    virtual ReplaceOutcome Replace(const std::string& text, const std::string& basis) = 0;
    // The platform's writes one by one: ERROR_SUCCESS or the system's code of
    // the first that failed.
    virtual DWORD WriteKeys(const std::vector<IniWrite>& writes) = 0;
};

// ERROR_SUCCESS when every write is in the file, else the system's code of
// the failure. A file that cannot be read or edited exactly, whose replace
// another handle refuses, or that keeps changing for kWriteBackRounds rounds,
// gets the platform's writes: they reach a file that other handles hold open
// with write sharing, which no replace can. Any other failure (a temporary
// file that cannot be made or written: full disk, quota, access) fails the
// write with the file untouched; writes in place there could break off with
// the file half written.
DWORD WriteBack(IniFileAccess& file, const std::vector<IniWrite>& writes);

} // namespace nv
