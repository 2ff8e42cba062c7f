// The update manager's own settings file, shared by all users of the machine.
// The module only reads it: the update mode and the last successful check.
#pragma once

#include <string>

class CNvXmlDocument;

namespace nv {

// "Norvane\Update Manager\Daten\updatemanager-config.xml" below the all-users
// application-data folder; a relative path when the shell names no folder.
std::string UpdateManagerConfigPath();

// False when the file does not exist; a file that does not parse raises. COM
// is initialised on the thread.
bool LoadUpdateManagerConfig(CNvXmlDocument& config);

// A date in German notation (day.month.year, optionally with hours:minutes
// and seconds) as an OLE date, whatever the user's regional settings say.
bool ParseGermanOleDate(const std::string& text, double* date);

// The local date and time in whole seconds, as an OLE date.
double LocalNowOleDate();

// 0 when the settings say "ModeDontCheck" or cannot be read, else 1.
int GetUpdateMode();

// Whole days since the last successful check; -1 without settings or date,
// 0 for a date that does not read.
int GetDaysSinceLastCheck();

} // namespace nv
