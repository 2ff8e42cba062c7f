// Files and registry places for news tests: a data folder with feed indexes,
// feed files found through registry values, the per-user state files the
// module keeps for them, and readable summaries of the news it returns.
#pragma once

#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// "dd.mm.yyyy" (or "dd.mm.yyyy hh:mm" with an hour) of today + `days`, as the
// German regional settings of the test prefix write dates.
std::string DateText(int days, int hour = -1, int minute = 0);

// The check number that switches the date override on today: day of month *
// 1000 + month * 10 + day of week (1 = Sunday).
DWORD TodaysOverrideCheckNumber();

// The state file the module keeps for a feed file name.
std::string NewsStateFile(const std::string& feedName);

// A BSTR result as single-byte text (code page 1252); null gives "(null)".
std::string ResultText(BSTR xml);

// The channel of a news document, one entry per child: "T:title" for a title,
// "guid:read" for an item ("-" for a missing guid), joined by "|".
std::string Summary(const std::string& newsXml);
// A state file's records, one per channel child: "name=text" of each child in
// order, joined by blanks; records joined by "|".
std::string StateSummary(const std::string& stateXml);
// The value of attribute `name` of the item with `guid` ("(none)" when missing).
std::string ItemAttribute(const std::string& newsXml, const std::string& guid,
                          const std::string& name);
// The text of the child `child` of the item with `guid`.
std::string ItemChildText(const std::string& newsXml, const std::string& guid,
                          const std::string& child);
// The XML text of a news document returned as IDispatch ("(null)" for null);
// releases the document.
std::string TakeDocumentXml(IDispatch* document);

class NewsFixture : public ::testing::Test {
protected:
    // Registry path value of the test's data folder, for GetNewsXml3.
    const std::string kDataValue = "HKCU\\Software\\NvinfoNewsTest\\Daten";

    NewsFixture();
    ~NewsFixture() override;

    // A feed file in `subfolder` of the test folder, named uniquely for this
    // test so that its state file is the test's own. Returns its path.
    std::string WriteFeed(const std::string& name, const std::string& channelContent,
                          const std::string& subfolder = "feeds");
    // The registry path value that names `subfolder` of the test folder.
    std::string FolderValue(const std::string& subfolder);
    // An `NvFeed` entry for a feed written with WriteFeed.
    std::string Entry(const std::string& feedPath);
    void WriteIndex(const std::string& product, const std::string& entries,
                    const std::string& dataFolder = "daten");
    // Writes the state file of a feed written with WriteFeed.
    void WriteState(const std::string& feedPath, const std::string& content);
    std::string StateOf(const std::string& feedPath) const;

    // GetNewsXml3 over the test's data folder.
    std::string NewsXml(const std::string& product, const std::string& category = "");
    // _GetNewsFromFileEx on one feed.
    std::string FileNews(const std::string& feedPath, const std::string& category,
                         int includeRead, int includeHidden, int checkConstraints = 1);

    TempFolder m_temp;
    RegistrySandbox m_registry;

private:
    std::vector<std::string> m_stateFiles;
};
