// Feeds, feed indexes and state files in a test folder for the news exports,
// and the news that come back read as short summaries.
#pragma once

#include "dialog_capture.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// "<item><guid>guid</guid>inner</item>".
std::string Item(const std::string& guid, const std::string& inner = "");
// One entry per channel child of a news outline: "T:title", or "guid:read"
// for an item ("-" without guid), joined by "|". "(null)" stays.
std::string Summary(const std::string& outline);
// Attribute `name` of the item with `guid` in a news outline.
std::string ItemAttribute(const std::string& outline, const std::string& guid,
                          const std::string& name);

class NewsFixture : public ::testing::Test {
protected:
    ~NewsFixture() override;

    // A feed in `folder` of the test folder, named uniquely so that its state
    // file is the test's own. Returns its path.
    std::string WriteFeed(const std::string& channel, const std::string& folder = "feeds");
    // An index entry naming a feed through a registry value for its folder.
    std::string Entry(const std::string& feed);
    void WriteIndex(const std::string& product, const std::string& entries);
    std::string StatePath(const std::string& feed) const;
    void WriteState(const std::string& feed, const std::string& content);
    // The outline of the state file's channel content, or "(no file)".
    std::string State(const std::string& feed) const;

    // Outlines of GetNewsXml3 over the test's data folder, of _GetNewsFromFileEx.
    std::string NewsXml(const std::string& product, const std::string& category = "");
    std::string FileNews(const std::string& feed, const std::string& category, int read, int hidden,
                         int constraints = 1);
    long SetState(const std::string& feed, const std::string& guid, int read, int hidden);

    TempFolder m_temp;
    RegistrySandbox m_registry;
    DialogCapture m_dialogs;
    std::vector<std::string> m_feeds;
    // The registry value naming `folder` of the test folder.
    std::string FolderValue(const std::string& folder);
    const std::string m_dataValue = FolderValue("daten");
};
