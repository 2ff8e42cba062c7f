#include "download/ini_write_back.h"

namespace nv {

DWORD WriteBack(IniFileAccess& file, const std::vector<IniWrite>& writes)
{
    if (writes.empty())
        return ERROR_SUCCESS;
    for (int round = 0; round < kWriteBackRounds; ++round) {
        std::string content;
        std::string text;
        if (!file.Read(content) || !ApplyIniWrites(content, writes, text))
            break;
        ReplaceOutcome outcome = file.Replace(text, content);
        if (outcome.Succeeded())
            return ERROR_SUCCESS;
        if (outcome.failedStep == ReplaceStep::Changed)
            continue;
        if (outcome.failedStep != ReplaceStep::Replace || !IsHeldFileError(outcome.error))
            return outcome.error;
        break;
    }
    return file.WriteKeys(writes);
}

} // namespace nv
