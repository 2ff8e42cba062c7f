// GetUpdateMode and GetDaysSinceLastCheck against the update manager's real
// settings file in the prefix's all-users folder.
#include "update_manager_config.h"

#include "dialog_capture.h"
#include "harness/nvinfo_module.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

namespace {

struct Settings {
    int mode;
    int days;
};

// Both exports, with any message box they might open recorded.
Settings ReadSettings()
{
    auto getMode = NvinfoModule::Proc<PFN_NV_NOARGS>("GetUpdateMode");
    auto getDays = NvinfoModule::Proc<PFN_NV_NOARGS>("GetDaysSinceLastCheck");
    DialogCapture dialogs;
    Settings settings = {getMode(), getDays()};
    EXPECT_TRUE(dialogs.Dialogs().empty()) << dialogs.Dialogs().front().text;
    return settings;
}

TEST(UpdateManagerSettings, WithoutConfigFileUpdatesAreCheckedAndNoCheckIsRecorded)
{
    UpdateManagerConfigFile config;
    config.Remove();
    Settings settings = ReadSettings();
    EXPECT_EQ(1, settings.mode);
    EXPECT_EQ(-1, settings.days);
}

TEST(UpdateManagerSettings, UpdateModeSwitchesCheckingOffOnlyForModeDontCheck)
{
    struct Row {
        const char* name;
        const char* content;
        int mode;
    } rows[] = {
        {"ModeDontCheck", "<c><UpdateMode>ModeDontCheck</UpdateMode></c>", 0},
        {"lower case", "<c><UpdateMode>modedontcheck</UpdateMode></c>", 0},
        {"upper case, other root", "<Settings><UpdateMode>MODEDONTCHECK</UpdateMode></Settings>", 0},
        {"automatic", "<c><UpdateMode>ModeAutomatic</UpdateMode></c>", 1},
        {"empty element", "<c><UpdateMode/></c>", 1},
        // The DOM's element text drops surrounding white space.
        {"with blanks", "<c><UpdateMode> ModeDontCheck\r\n</UpdateMode></c>", 0},
        {"other word", "<c><UpdateMode>ModeDontCheckNow</UpdateMode></c>", 1},
        {"missing element", "<c><LastSuccessfulCheck>01.03.2024</LastSuccessfulCheck></c>", 0},
        {"not a direct child", "<c><Mode><UpdateMode>ModeAutomatic</UpdateMode></Mode></c>", 0},
        {"malformed", "<c><UpdateMode>ModeAutomatic</Update></c>", 0},
        {"empty file", "", 0},
    };
    UpdateManagerConfigFile config;
    for (const Row& row : rows) {
        config.Write(row.content);
        EXPECT_EQ(row.mode, ReadSettings().mode) << row.name;
    }
}

TEST(UpdateManagerSettings, DaysCountWholeDaysAgainstTheClock)
{
    struct Row {
        const char* name;
        std::string lastCheck;
        int days;
    } rows[] = {
        {"ten minutes ago", GermanLocalTime(-10), 0},
        {"25 hours ago", GermanLocalTime(-25 * 60), 1},
        {"three days and an hour ago", GermanLocalTime(-(3 * 24 + 1) * 60), 3},
        {"400 days ago", GermanLocalTime(-400LL * 24 * 60), 400},
        {"two days ago without time", GermanLocalTime(-2 * 24 * 60, false), 2},
        {"today without time", GermanLocalTime(0, false), 0},
        {"14 hours ahead", GermanLocalTime(14 * 60), 0},
        {"36 hours ahead", GermanLocalTime(36 * 60), -1},
        {"ten days ahead", GermanLocalTime(10 * 24 * 60 + 60), -10},
        {"no date", "gestern", 0},
        {"empty", "", 0},
    };
    UpdateManagerConfigFile config;
    for (const Row& row : rows) {
        config.Write(UpdateManagerConfigXml("ModeAutomatic", row.lastCheck));
        Settings settings = ReadSettings();
        EXPECT_EQ(row.days, settings.days) << row.name << ": " << row.lastCheck;
        EXPECT_EQ(1, settings.mode) << row.name;
    }
}

TEST(UpdateManagerSettings, DaysWithoutReadableCheckAreMinusOne)
{
    struct Row {
        const char* name;
        const char* content;
        int mode;
    } rows[] = {
        {"missing element", "<c><UpdateMode>ModeDontCheck</UpdateMode></c>", 0},
        {"not a direct child", "<c><x><LastSuccessfulCheck>01.03.2024</LastSuccessfulCheck></x>"
                               "<UpdateMode/></c>", 1},
        {"malformed", "<c><LastSuccessfulCheck>01.03.2024</LastSuccessfulCheck>", 0},
    };
    UpdateManagerConfigFile config;
    for (const Row& row : rows) {
        config.Write(row.content);
        Settings settings = ReadSettings();
        EXPECT_EQ(-1, settings.days) << row.name;
        EXPECT_EQ(row.mode, settings.mode) << row.name;
    }
}

} // namespace
