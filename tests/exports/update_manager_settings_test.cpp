// GetUpdateMode and GetDaysSinceLastCheck against the update manager's real
// settings file in the prefix's all-users folder.
#include "update_manager_config.h"

#include "dialog_capture.h"
#include "harness/nvinfo_module.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

namespace {

TEST(UpdateManagerSettings, ModeAndDaysFromTheSettingsFile)
{
    const auto xml = &UpdateManagerConfigXml;
    const auto at = &GermanLocalTime;
    const struct {
        const char* name;
        std::string content;
        int mode, days;
    } rows[] = {
        {"no settings file", "", 1, -1},
        {"empty file", "", 0, -1},
        {"malformed", "<c><UpdateMode>ModeAutomatic</Update></c>", 0, -1},
        {"elements missing", "<c/>", 0, -1},
        {"not direct children",
         "<c><x><UpdateMode>ModeAutomatic</UpdateMode><LastSuccessfulCheck>01.03.2024"
         "</LastSuccessfulCheck></x></c>", 0, -1},
        {"ModeDontCheck", xml("ModeDontCheck", at(-10, true)), 0, 0},
        {"lower case", xml("modedontcheck", at(-25 * 60, true)), 0, 1},
        {"upper case, other root", "<S><UpdateMode>MODEDONTCHECK</UpdateMode></S>", 0, -1},
        // The DOM's element text drops surrounding white space.
        {"with blanks", xml(" ModeDontCheck\r\n", ""), 0, 0},
        {"other word", xml("ModeDontCheckNow", "gestern"), 1, 0},
        {"empty mode", "<c><UpdateMode/></c>", 1, -1},
        {"three days and an hour ago", xml("ModeAutomatic", at(-(3 * 24 + 1) * 60, true)), 1, 3},
        {"400 days ago", xml("ModeAutomatic", at(-400LL * 24 * 60, true)), 1, 400},
        {"two days ago without time", xml("ModeAutomatic", at(-2 * 24 * 60, false)), 1, 2},
        {"14 hours ahead", xml("ModeAutomatic", at(14 * 60, true)), 1, 0},
        {"36 hours ahead", xml("ModeAutomatic", at(36 * 60, true)), 1, -1},
    };
    auto getMode = NvinfoModule::Proc<PFN_NV_NOARGS>("GetUpdateMode");
    auto getDays = NvinfoModule::Proc<PFN_NV_NOARGS>("GetDaysSinceLastCheck");
    UpdateManagerConfigFile file;
    for (const auto& row : rows) {
        if (&row == rows)
            file.Remove();
        else
            file.Write(row.content);
        DialogCapture dialogs;
        EXPECT_EQ(row.mode, getMode()) << row.name;
        EXPECT_EQ(row.days, getDays()) << row.name << ": " << row.content;
        EXPECT_TRUE(dialogs.Dialogs().empty()) << row.name;
    }
}

} // namespace
