#include "download/ini_write_back.h"

namespace nv {

bool IniFileAccess::ReadParsed(IniSnapshot& parsed)
{
    std::string content;
    if (!Read(content))
        return false;
    parsed = IniSnapshot::OfContent(std::move(content));
    return true;
}

DWORD WriteBack(IniFileAccess& file, const std::vector<IniWrite>& writes)
{
    if (writes.empty())
        return ERROR_SUCCESS;
    for (int round = 0; round < kWriteBackRounds; ++round) {
        IniSnapshot parsed;
        std::string text;
        if (!file.ReadParsed(parsed) || !ApplyIniWrites(parsed, writes, text))
            break;
        ReplaceOutcome outcome = file.Replace(text, parsed.Text());
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
