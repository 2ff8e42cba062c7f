// Feeds, feed indexes and state files in a test folder for the news exports,
// and the news that come back read as short summaries.
#pragma once

#include "dialog_capture.h"
#include "harness/nvinfo_module.h"
#include "harness/placed_file.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"
#include "xml_text.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

inline std::string NewsStateFolder()
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, TRUE);
    return std::string(path) + "\\Norvane";
}

// The module looks for the date override key once per process and never again
// when it is missing, so the key exists for the whole program; the state
// folder the module makes under APPDATA goes again when it was new. Registered
// once, in news_retrieval_test.cpp.
class NewsEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        m_stateFolder.reset(new PlacedFile(NewsStateFolder() + "\\placed"));
        m_registry.reset(new RegistrySandbox);
        m_registry->CreateKey(HKEY_CURRENT_USER, "Software\\Norvane\\NewsBand");
    }
    void TearDown() override
    {
        m_registry.reset();
        m_stateFolder.reset();
    }
    std::unique_ptr<PlacedFile> m_stateFolder;
    std::unique_ptr<RegistrySandbox> m_registry;
};

inline std::string Item(const std::string& guid, const std::string& inner = "")
{
    return "<item><guid>" + guid + "</guid>" + inner + "</item>";
}

// One entry per channel child of a news document: "T:title", or "guid:read"
// for an item ("-" without guid), joined by "|". "(null)" stays.
inline std::string Summary(const std::string& xml)
{
    if (xml == "(null)")
        return xml;
    static const std::regex entry(
        "<title>([^<]*)</title>|<item[^>]* read=\"([^\"]*)\"[^>]*>\\s*(?:<guid>([^<]*)</guid>)?");
    std::string summary;
    for (std::sregex_iterator at(xml.begin(), xml.end(), entry), end; at != end; ++at) {
        const std::smatch& found = *at;
        summary += summary.empty() ? "" : "|";
        summary += found[1].matched
                       ? "T:" + found[1].str()
                       : (found[3].matched ? found[3].str() : "-") + ":" + found[2].str();
    }
    return summary;
}

class NewsFixture : public ::testing::Test {
protected:
    ~NewsFixture() override
    {
        for (const std::string& feed : m_feeds)
            DeleteFileA(StatePath(feed).c_str());
    }

    // A feed in `folder` of the test folder, named uniquely so that its state
    // file is the test's own.
    std::string WriteFeed(const std::string& channel, const std::string& folder = "feeds")
    {
        static int counter = 0;
        m_feeds.push_back("nvt" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(++counter) + ".xml");
        return m_temp.Write(folder + "\\" + m_feeds.back(),
                            kDeclaration + "<rss><channel>" + channel + "</channel></rss>");
    }
    // An index entry naming a feed through a registry value for its folder.
    std::string Entry(const std::string& feed)
    {
        size_t start = m_temp.Path().size() + 1;
        return "<NvFeed><Url>http://news.example/a/" + NameOf(feed) + "</Url>" +
               "<RegistryDestination>" + FolderValue(feed.substr(start, feed.rfind('\\') - start)) +
               "</RegistryDestination></NvFeed>";
    }
    void WriteIndex(const std::string& product, const std::string& entries)
    {
        m_temp.Write("daten\\" + product + ".feed",
                     kDeclaration + "<NvFeeds>" + entries + "</NvFeeds>");
    }
    static std::string StatePath(const std::string& feed)
    {
        return NewsStateFolder() + "\\Gemeinsame Dateien\\UpdateManager\\" + NameOf(feed) + ".conf";
    }
    static void WriteState(const std::string& feed, const std::string& content)
    {
        std::string path = StatePath(feed);
        SHCreateDirectoryExA(nullptr, path.substr(0, path.rfind('\\')).c_str(), nullptr);
        std::ofstream(path, std::ios::binary) << content;
    }
    // The state file as the parser reads it, or "(no file)".
    static std::string State(const std::string& feed)
    {
        return FileExists(StatePath(feed)) ? NormalXml(ReadWholeFile(StatePath(feed)))
                                           : "(no file)";
    }

    // GetNewsXml3 over the test's data folder, of a feed read by name: constraints
    // checked through _GetNewsFromFile, which always checks them, else _GetNewsFromFileEx.
    std::string NewsXml(const std::string& product, const std::string& category = "")
    {
        auto getNewsXml3 = NvinfoModule::Proc<PFN_NV_GETNEWSXML3>("GetNewsXml3");
        BSTR xml = getNewsXml3(product.c_str(), category.c_str(), m_dataValue.c_str());
        return xml ? NormalXml(TakeBstrText(xml)) : "(null)";
    }
    static std::string FileNews(const std::string& feed, int read, int hidden,
                                bool constraints = true)
    {
        IDispatch* document = nullptr;
        if (constraints)
            NvinfoModule::Proc<PFN_NV_GETNEWSFROMFILE>(NVINFO_GETNEWSFROMFILE)(
                feed.c_str(), "", &document, read, hidden);
        else
            NvinfoModule::Proc<PFN_NV_GETNEWSFROMFILEEX>(NVINFO_GETNEWSFROMFILEEX)(
                feed.c_str(), "", &document, read, hidden, 0);
        return Summary(TakeDocumentXml(document));
    }
    const PFN_NV_SETNEWSITEMSTATE SetNewsItemState =
        NvinfoModule::Proc<PFN_NV_SETNEWSITEMSTATE>("SetNewsItemState");

    // Caption and start of the one message box shown since the last look.
    std::string TakeMessage(size_t length)
    {
        const auto& boxes = m_dialogs.Dialogs();
        std::string seen = boxes.size() != 1
                               ? std::to_string(boxes.size()) + " boxes"
                               : boxes[0].caption + ": " + boxes[0].text.substr(0, length);
        m_dialogs.Clear();
        return seen;
    }

    TempFolder m_temp;
    RegistrySandbox m_registry;
    DialogCapture m_dialogs;
    std::vector<std::string> m_feeds;
    // The registry value naming `folder` of the test folder.
    std::string FolderValue(const std::string& folder)
    {
        m_registry.Set(HKEY_CURRENT_USER, kTestKey, folder, m_temp.File(folder));
        return "HKCU\\" + kTestKey + "\\" + folder;
    }
    const std::string m_dataValue = FolderValue("daten");
    // The data folder of the exports that take no folder value.
    void UseStandardDataFolder()
    {
        m_registry.Set(HKEY_LOCAL_MACHINE,
                       "Software\\Norvane\\Gemeinsame Dateien\\Update Manager\\Verzeichnisse",
                       "Daten", m_temp.File("daten"));
    }

private:
    static std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

    inline static const std::string kTestKey = "Software\\NvinfoNewsTest";
    // Feeds and indexes name code page paths.
    inline static const std::string kDeclaration = "<?xml version='1.0' encoding='ISO-8859-1'?>\n";
};
