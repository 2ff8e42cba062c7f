// GetUpdates against real NDC files and registry values: the whole update
// list document, element by element, and the folders it creates.
#include "harness/held_file.h"
#include "harness/nvinfo_module.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"
#include "xml_text.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace {

const char* const kTestKey = "Software\\NvMergeTest";

// An Update element with its thirteen children, in their order.
std::string Update(std::initializer_list<std::string> values)
{
    static const char* const names[] = {"Section",  "Name",    "Tooltip", "InfoText", "InfoFile",
                                        "Size",     "DateVer", "FileURL", "File",     "Destination",
                                        "Download", "Update",  "State"};
    return "<Update>" + XmlElements(names, values) + "</Update>";
}

class GetUpdatesExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        m_folder = m_temp.Path();
        CharLowerBuffA(&m_folder[0], m_folder.size());
        CreateDirectoryA(m_temp.File("Prog").c_str(), nullptr);
        m_registry.Set(HKEY_LOCAL_MACHINE, kTestKey, "Tool", m_temp.File("Prog\\Tool.EXE"));
        m_registry.Set(HKEY_LOCAL_MACHINE, kTestKey, "Dir", m_temp.File("Target\\"));
    }

    // The list for the two files; it comes without declaration.
    std::string List(const std::string& stem, int all, int fourth, int downloaderOnly)
    {
        auto getUpdates = NvinfoModule::Proc<PFN_NV_GETUPDATES>("GetUpdates");
        const std::string xml = TakeBstrText(getUpdates(m_temp.File(stem + ".old.ndc").c_str(),
                                                        m_temp.File(stem + ".new.ndc").c_str(), all,
                                                        fourth, downloaderOnly));
        EXPECT_EQ(std::string::npos, xml.find("<?xml")) << xml;
        return NormalXml(xml, false);
    }

    std::string WriteNdcPair(const std::string& stem)
    {
        m_temp.Write(stem + ".old.ndc",
                     "[Header]\nDateVer=1\n[known]\nDateVer=5\nUpdate=1\nDownload=1\n"
                     "[newer]\nDateVer=1\nUpdate=1\n[gone]\nDateVer=1\n");
        return m_temp.Write(
            stem + ".new.ndc",
            "[Header]\nDateVer=1\nShowhtm=x\n[known]\nDateVer=5\nName=Known\n"
            "[Newer]\nDateVer=2\nName=Newer & <Co>\nTooltip=Tip\nInfo=Some text;info.htm\n"
            "Size=2048 kB\nFileURL=http://host/a.exe\nFile=a.exe\nState=busy\n"
            "Destination=-RHKLM\\Software\\NvMergeTest\\Tool;Sub\n"
            "[fresh]\nState=pending\nDestination=_RHKLM\\Software\\NvMergeTest\\Dir\n"
            "[blocked]\nDateVer=3\nInstalliert=/EHKLM\\Software\\NvMergeTest\\Missing\n"
            "[!note]\nDateVer=3\n");
    }

    TempFolder m_temp;
    RegistrySandbox m_registry;
    std::string m_folder;
};

TEST_F(GetUpdatesExport, ListsTheWantedItemsWithTheirThirteenChildrenOrAll)
{
    const std::string wanted =
        Update({"newer", "Newer & <Co>", "Tip", "Some text", "info.htm", "2048", "2",
                "http://host/a.exe", "a.exe", m_folder + "\\prog\\Sub", "0", "0", ""}) +
        Update({"fresh", "fresh", "", "", "", "0", "0", "", "", m_folder + "\\target\\", "0", "0",
                "pending"});
    std::string newPath = WriteNdcPair("wanted");
    {
        // A reader of the desktop holding the new file, sharing writing, keeps no write out.
        HeldFile reader(newPath, FILE_SHARE_READ | FILE_SHARE_WRITE);
        EXPECT_EQ(NormalXml("<Updates>" + wanted + "</Updates>"), List("wanted", 0, 0, 0));
    }
    EXPECT_TRUE(FileExists(m_temp.File("Target")));
    EXPECT_EQ(1u, GetPrivateProfileIntA("known", "Update", 0, newPath.c_str())) << "merged back";
    EXPECT_EQ(NormalXml("<Updates/>"), List("none", 1, 0, 0));
    EXPECT_FALSE(FileExists(m_temp.File("none.new.ndc")));
    // Any non-zero flag counts as true.
    const std::string all =
        "<Updates>" +
        Update({"known", "Known", "", "", "", "0", "5", "", "", m_folder, "1", "1", ""}) + wanted +
        "</Updates>";
    WriteNdcPair("all");
    EXPECT_EQ(NormalXml(all), List("all", -1, 2, 0));
    // Downloader-only, while the downloader is pending, lists its item alone.
    m_temp.Write("dn.old.ndc", "[dnload]\nDateVer=1\nUpdate=1\n[a]\nDateVer=1\n");
    m_temp.Write("dn.new.ndc", "[dnload]\nDateVer=2\n[a]\nDateVer=2\n");
    const std::string downloader =
        Update({"dnload", "dnload", "", "", "", "0", "2", "", "", m_folder, "0", "0", ""});
    EXPECT_EQ(NormalXml("<Updates>" + downloader + "</Updates>"), List("dn", 0, 0, 2));
}

TEST_F(GetUpdatesExport, DestinationForms)
{
    m_registry.Set(HKEY_CURRENT_USER, kTestKey, "Bare", "Tool.exe");
    m_registry.Set(HKEY_CURRENT_USER, kTestKey, "Program", m_temp.File("Prog\\TOOL.EXE"));
    m_registry.Set(HKEY_CURRENT_USER, kTestKey, "Data", m_temp.File("Data"));
    char system[MAX_PATH] = "", windows[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    GetWindowsDirectoryA(windows, MAX_PATH);
    enum { kAbsent, kCreated, kUnchecked };
    const struct {
        std::string destination, expected;
        int folder;
    } rows[] = {
        {"/RHKCU\\Software\\NvMergeTest\\Bare", m_folder, kCreated},
        {"-RHKCU\\Software\\NvMergeTest\\Program;", m_folder + "\\prog\\", kCreated},
        {"_rHKCU\\Software\\NvMergeTest\\Data;Sub", m_folder + "\\data\\Sub", kAbsent},
        {"-s", system, kCreated},
        {"/w", windows, kCreated},
        {"-RHKLM\\Software\\NvMergeTest\\Absent;Sub", "\\Sub", kUnchecked},
        {"-X", m_folder, kCreated},
        {m_temp.File("Apps"), m_temp.File("Apps"), kCreated}, // last: made again below
    };
    for (const auto& row : rows) {
        m_temp.Write("dest.old.ndc", "[Header]\nDateVer=1\n");
        m_temp.Write("dest.new.ndc", "[item]\nDateVer=1\nDestination=" + row.destination + "\n");
        EXPECT_EQ(NormalXml("<Updates>" +
                            Update({"item", "item", "", "", "", "0", "1", "", "", row.expected, "0",
                                    "0", ""}) +
                            "</Updates>"),
                  List("dest", 1, 0, 0))
            << row.destination;
        EXPECT_TRUE(row.folder == kUnchecked || row.folder == FileExists(row.expected))
            << row.destination;
    }
    // Each call looks for its folders afresh: one removed since the last call is made again.
    RemoveDirectoryA(m_temp.File("Apps").c_str());
    List("dest", 1, 0, 0);
    EXPECT_TRUE(FileExists(m_temp.File("Apps")));
    // A folder that could not be made is tried again once a later item has made its parent.
    const std::string sub = "DateVer=1\nDestination=" + m_temp.File("T\\Sub") + "\n";
    m_temp.Write("dest.new.ndc", "[a]\n" + sub + "[b]\nDateVer=1\nDestination=" + m_temp.File("T") +
                                     "\n[c]\n" + sub);
    List("dest", 1, 0, 0);
    EXPECT_TRUE(FileExists(m_temp.File("T\\Sub")));
}

} // namespace
