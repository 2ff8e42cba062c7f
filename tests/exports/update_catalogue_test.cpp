// GetUpdates against real NDC files and registry values: the whole update
// list document, element by element, and the folders it creates.
#include "harness/nvinfo_module.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"
#include "xml_tree.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>

namespace {

const char* const kTestKey = "Software\\NvMergeTest";

// The thirteen children of an Update element, in their order.
struct ExpectedUpdate {
    std::string section, name, tooltip, infoText, infoFile, size, dateVer, fileUrl, file,
        destination, download, update, state;
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return text;
}

std::string SystemDirectory()
{
    char buffer[MAX_PATH] = {0};
    GetSystemDirectoryA(buffer, MAX_PATH);
    return buffer;
}

class GetUpdatesExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        m_getUpdates = NvinfoModule::Proc<PFN_NV_GETUPDATES>("GetUpdates");
        m_folder = Lower(m_temp.Path());
    }

    // The list for the two files, checked for shape and read into a tree.
    XmlElement List(const std::string& oldPath, const std::string& newPath, int all, int fourth,
                    int downloaderOnly)
    {
        BSTR xml = m_getUpdates(oldPath.c_str(), newPath.c_str(), all, fourth, downloaderOnly);
        EXPECT_NE(nullptr, xml);
        std::wstring text = xml ? std::wstring(xml, SysStringLen(xml)) : std::wstring();
        EXPECT_EQ(std::wstring::npos, text.find(L"<?xml")) << "no declaration expected";
        XmlElement root = ReadXmlTree(xml);
        SysFreeString(xml);
        EXPECT_EQ("Updates", root.name);
        EXPECT_EQ(0u, root.attributeCount);
        return root;
    }

    static void ExpectUpdates(const std::vector<ExpectedUpdate>& expected, const XmlElement& root)
    {
        ASSERT_EQ(expected.size(), root.children.size());
        const char* names[] = {"Section", "Name",        "Tooltip",  "InfoText", "InfoFile",
                               "Size",    "DateVer",     "FileURL",  "File",     "Destination",
                               "Download", "Update",     "State"};
        for (size_t i = 0; i < expected.size(); ++i) {
            const ExpectedUpdate& want = expected[i];
            const std::string values[] = {want.section,  want.name,    want.tooltip,
                                          want.infoText, want.infoFile, want.size,
                                          want.dateVer,  want.fileUrl, want.file,
                                          want.destination, want.download, want.update,
                                          want.state};
            const XmlElement& update = root.children[i];
            EXPECT_EQ("Update", update.name) << want.section;
            EXPECT_EQ(0u, update.attributeCount) << want.section;
            EXPECT_EQ("", update.text) << want.section;
            ASSERT_EQ(13u, update.children.size()) << want.section;
            for (size_t c = 0; c < 13; ++c) {
                const XmlElement& child = update.children[c];
                EXPECT_EQ(names[c], child.name) << want.section << " child " << c;
                EXPECT_EQ(values[c], child.text) << want.section << " " << names[c];
                EXPECT_EQ(0u, child.attributeCount) << want.section << " " << names[c];
                EXPECT_TRUE(child.children.empty()) << want.section << " " << names[c];
            }
        }
    }

    std::string WriteNdcPair(const std::string& stem)
    {
        m_temp.Write(stem + ".old.ndc",
                     "[Header]\nDateVer=1\n[known]\nDateVer=5\nUpdate=1\nDownload=1\n"
                     "[newer]\nDateVer=1\nUpdate=1\n[gone]\nDateVer=1\n");
        std::string newText =
            "[Header]\nDateVer=1\nShowhtm=x\n"
            "[known]\nDateVer=5\nName=Known\n"
            "[Newer]\nDateVer=2\nName=Newer & <Co>\nTooltip=Tip\nInfo=Some text;info.htm\n"
            "Size=2048 kB\nFileURL=http://host/a.exe\nFile=a.exe\nState=busy\n"
            "Destination=-RHKLM\\Software\\NvMergeTest\\Tool;Sub\n"
            "[fresh]\nState=pending\nDestination=_RHKLM\\Software\\NvMergeTest\\Dir\n"
            "[sys]\nDateVer=3\nDestination=-S\\Sub\n"
            "[plain]\nDateVer=3\nDestination=" + m_temp.Path() + "\\Apps\n"
            "[blocked]\nDateVer=3\nInstalliert=/EHKLM\\Software\\NvMergeTest\\Missing\n"
            "[!note]\nDateVer=3\n";
        return m_temp.Write(stem + ".new.ndc", newText);
    }

    std::vector<ExpectedUpdate> WantedUpdates() const
    {
        return {
            {"newer", "Newer & <Co>", "Tip", "Some text", "info.htm", "2048", "2",
             "http://host/a.exe", "a.exe", m_folder + "\\prog\\Sub", "0", "0", ""},
            {"fresh", "fresh", "", "", "", "0", "0", "", "", m_folder + "\\target\\", "0", "0",
             "pending"},
            {"sys", "sys", "", "", "", "0", "3", "", "", SystemDirectory(), "0", "0", ""},
            {"plain", "plain", "", "", "", "0", "3", "", "", m_temp.Path() + "\\Apps", "0", "0",
             ""},
        };
    }

    TempFolder m_temp;
    RegistrySandbox m_registry;
    std::string m_folder;
    PFN_NV_GETUPDATES m_getUpdates = nullptr;
};

TEST_F(GetUpdatesExport, ListsTheWantedItemsWithTheirThirteenChildren)
{
    CreateDirectoryA(m_temp.File("Prog").c_str(), nullptr);
    m_registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Tool", m_temp.File("Prog\\Tool.EXE"));
    m_registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Dir", m_temp.File("Target\\"));
    std::string newPath = WriteNdcPair("wanted");

    ExpectUpdates(WantedUpdates(), List(m_temp.File("wanted.old.ndc"), newPath, 0, 0, 0));
    EXPECT_TRUE(FileExists(m_temp.File("Prog\\Sub")));
    EXPECT_TRUE(FileExists(m_temp.File("Target")));
    EXPECT_TRUE(FileExists(m_temp.File("Apps")));
    char value[8] = {0};
    GetPrivateProfileStringA("known", "Update", "", value, sizeof(value), newPath.c_str());
    EXPECT_STREQ("1", value) << "the merge writes back into the new file";
}

TEST_F(GetUpdatesExport, AllFlagAddsTheItemsNotWanted)
{
    CreateDirectoryA(m_temp.File("Prog").c_str(), nullptr);
    m_registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Tool", m_temp.File("Prog\\Tool.EXE"));
    m_registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Dir", m_temp.File("Target\\"));
    std::vector<ExpectedUpdate> expected = WantedUpdates();
    expected.insert(expected.begin(), ExpectedUpdate{"known", "Known", "", "", "", "0", "5", "",
                                                     "", m_folder, "1", "1", ""});
    for (int fourth = 0; fourth <= 1; ++fourth) {
        std::string stem = "all" + std::to_string(fourth);
        std::string newPath = WriteNdcPair(stem);
        SCOPED_TRACE("fourth flag " + std::to_string(fourth));
        ExpectUpdates(expected, List(m_temp.File(stem + ".old.ndc"), newPath, 1, fourth, 0));
    }
}

TEST_F(GetUpdatesExport, DestinationsFromMissingRegistryValues)
{
    struct Row {
        const char* destination;
        std::string expected;
    } rows[] = {
        {"-RHKLM\\Software\\NvMergeTest\\Absent;Sub", "\\Sub"},
        {"-RHKLM\\Software\\NvMergeTest\\Absent", m_folder},
        {"-Rhklm\\Software\\NvMergeTest\\Tool", m_folder},
        {"-X", m_folder},
        {"-", m_folder},
        {"/w", ""},
    };
    char windows[MAX_PATH] = {0};
    GetWindowsDirectoryA(windows, MAX_PATH);
    rows[5].expected = windows;
    m_registry.SetString(HKEY_CURRENT_USER, kTestKey, "Tool", "C:\\x\\y.exe");
    for (const Row& row : rows) {
        m_temp.Write("dest.old.ndc", "[Header]\nDateVer=1\n");
        std::string newPath = m_temp.Write(
            "dest.new.ndc", std::string("[item]\nDateVer=1\nDestination=") + row.destination +
                                "\n");
        XmlElement root = List(m_temp.File("dest.old.ndc"), newPath, 1, 0, 0);
        ASSERT_EQ(1u, root.children.size()) << row.destination;
        ASSERT_EQ(13u, root.children[0].children.size()) << row.destination;
        EXPECT_EQ(row.expected, root.children[0].children[9].text) << row.destination;
    }
}

TEST_F(GetUpdatesExport, EmptyListForMissingFilesAndDownloaderOnly)
{
    XmlElement empty = List(m_temp.File("none.old.ndc"), m_temp.File("none.new.ndc"), 1, 0, 0);
    EXPECT_TRUE(empty.children.empty());
    EXPECT_EQ("", empty.text);
    EXPECT_FALSE(FileExists(m_temp.File("none.new.ndc")));

    std::string oldPath = m_temp.Write("dn.old.ndc", "[dnload]\nDateVer=1\nUpdate=1\n[a]\nDateVer=1\n");
    std::string newPath = m_temp.Write("dn.new.ndc", "[dnload]\nDateVer=2\n[a]\nDateVer=2\n");
    XmlElement only = List(oldPath, newPath, 1, 0, 1);
    ASSERT_EQ(1u, only.children.size());
    ASSERT_FALSE(only.children[0].children.empty());
    EXPECT_EQ("dnload", only.children[0].children[0].text);
}

TEST_F(GetUpdatesExport, FlagsCountAsTrueForAnyNonZeroValue)
{
    CreateDirectoryA(m_temp.File("Prog").c_str(), nullptr);
    m_registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Tool", m_temp.File("Prog\\Tool.EXE"));
    m_registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Dir", m_temp.File("Target\\"));
    std::vector<ExpectedUpdate> all = WantedUpdates();
    all.insert(all.begin(), ExpectedUpdate{"known", "Known", "", "", "", "0", "5", "", "",
                                           m_folder, "1", "1", ""});
    for (int flag : {2, -1}) {
        SCOPED_TRACE("flag " + std::to_string(flag));
        std::string stem = "flag" + std::to_string(flag + 1);
        std::string newPath = WriteNdcPair(stem);
        ExpectUpdates(all, List(m_temp.File(stem + ".old.ndc"), newPath, flag, 0, 0));

        std::string oldPath =
            m_temp.Write(stem + ".dn.old.ndc", "[dnload]\nDateVer=1\nUpdate=1\n[a]\nDateVer=1\n");
        std::string dnPath =
            m_temp.Write(stem + ".dn.new.ndc", "[dnload]\nDateVer=2\n[a]\nDateVer=2\n");
        XmlElement only = List(oldPath, dnPath, 0, 0, flag);
        ASSERT_EQ(1u, only.children.size());
        ASSERT_FALSE(only.children[0].children.empty());
        EXPECT_EQ("dnload", only.children[0].children[0].text);
    }
}

} // namespace
