// ShowUpdateManagerItem against a real program: a recorder copied under the
// update manager's name writes the command line it received beside itself.
#include "dialog_capture.h"
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const char* const kFoldersKey = "Software\\Norvane\\Gemeinsame Dateien\\Update Manager\\Verzeichnisse";
const char* const kDefaultFolder = "C:\\Programme\\Gemeinsame Dateien\\Norvane\\Update Manager";
const char* const kProgram = "NvUpdateManager.exe";
const DWORD kRecordWaitMs = 10000;

int ShowItem(int page, const char* product, const char* item)
{
    return NvinfoModule::Proc<PFN_NV_SHOWUPDATEMANAGERITEM>("ShowUpdateManagerItem")(page, product,
                                                                                        item);
}

// The update manager stand-in in `folder`; returns its path.
std::string PlaceRecorder(const std::string& folder)
{
    std::string program = folder + "\\" + kProgram;
    EXPECT_TRUE(CopyFileA(OutputFile("nvrecorder.exe").c_str(), program.c_str(), FALSE));
    return program;
}

// The command line the recorder in `folder` received; empty if it never ran.
std::string RecordedCommandLine(const std::string& folder)
{
    const std::string record = folder + "\\commandline.txt";
    for (DWORD waited = 0; waited < kRecordWaitMs && !FileExists(record); waited += 20)
        Sleep(20);
    std::string commandLine = ReadWholeFile(record);
    DeleteFileA(record.c_str());
    return commandLine;
}

// Creates the missing levels of `path` and removes exactly those again.
class MadeFolders {
public:
    explicit MadeFolders(const std::string& path)
    {
        for (size_t slash = path.find('\\', 3);; slash = path.find('\\', slash + 1)) {
            std::string level = path.substr(0, slash);
            if (!FileExists(level) && CreateDirectoryA(level.c_str(), nullptr))
                m_made.push_back(level);
            if (slash == std::string::npos)
                break;
        }
    }
    ~MadeFolders()
    {
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
            RemoveTree(*it);
    }

private:
    std::vector<std::string> m_made;
};

class ShowUpdateManagerItemTest : public testing::Test {
protected:
    void RegisterFolder(const std::string& folder)
    {
        m_registry.SetString(HKEY_LOCAL_MACHINE, kFoldersKey, "Prog", folder);
    }
    void UnregisterFolder() { m_registry.DeleteValue(HKEY_LOCAL_MACHINE, kFoldersKey, "Prog"); }

    RegistrySandbox m_registry;
    TempFolder m_temp;
};

TEST_F(ShowUpdateManagerItemTest, CommandLineIsExactlyAsDefined)
{
    // A blank in the folder, as in the suite's default place.
    const std::string folder = m_temp.Path() + "\\Update Manager";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string program = PlaceRecorder(folder);
    RegisterFolder(folder);
    struct Row {
        const char* name;
        int page;
        const char* product;
        const char* item;
        const char* arguments;
    } rows[] = {
        {"update page for a product", 0, "qdpro", "", "/product:qdpro /page:Update"},
        {"news page, item, no product", 1, "", "abc", " /page:News /item:abc"},
        {"configuration with product and item", 2, "qdpro", "x 1", "/product:qdpro /page:Config /item:x 1"},
        {"page 3 adds no page", 3, "p", "i", "/product:p /item:i"},
        {"page -1 adds no page", -1, "p", "i", "/product:p /item:i"},
        {"null texts are empty", 0, nullptr, nullptr, " /page:Update"},
        {"nothing at all", 7, "", "", ""},
        {"texts unchanged", 1, "\"q d\"", "\xE4/item:", "/product:\"q d\" /page:News /item:\xE4/item:"},
    };
    for (const Row& row : rows) {
        DialogCapture capture;
        EXPECT_EQ(0, ShowItem(row.page, row.product, row.item)) << row.name;
        EXPECT_EQ(program + " " + row.arguments, RecordedCommandLine(folder)) << row.name;
        EXPECT_TRUE(capture.Dialogs().empty()) << row.name;
    }
}

TEST_F(ShowUpdateManagerItemTest, MissingProgramIsReportedWithItsRegisteredPath)
{
    RegisterFolder(m_temp.Path());
    DialogCapture capture;
    EXPECT_EQ(-1, ShowItem(0, "qdpro", ""));
    ASSERT_EQ(1u, capture.Dialogs().size());
    EXPECT_EQ("Die Datei " + m_temp.Path() + "\\NvUpdateManager.exe ist nicht vorhanden.",
              capture.Dialogs()[0].text);
    EXPECT_EQ("nvinfo", capture.Dialogs()[0].caption);
}

TEST_F(ShowUpdateManagerItemTest, DefaultFolderWhenNothingIsRegistered)
{
    UnregisterFolder();
    const std::string defaultProgram = std::string(kDefaultFolder) + "\\" + kProgram;
    if (FileExists(defaultProgram))
        GTEST_SKIP() << "the prefix has an update manager of its own";
    {
        DialogCapture capture;
        EXPECT_EQ(-1, ShowItem(1, "", ""));
        ASSERT_EQ(1u, capture.Dialogs().size());
        EXPECT_EQ("Die Datei " + defaultProgram + " ist nicht vorhanden.",
                  capture.Dialogs()[0].text);
    }
    MadeFolders folders(kDefaultFolder);
    PlaceRecorder(kDefaultFolder);
    EXPECT_EQ(0, ShowItem(1, "wtpro", ""));
    EXPECT_EQ(defaultProgram + " /product:wtpro /page:News", RecordedCommandLine(kDefaultFolder));
    DeleteFileA(defaultProgram.c_str());
}

TEST_F(ShowUpdateManagerItemTest, SearchPathIsTriedWhenTheFolderLacksTheProgram)
{
    TempFolder empty;
    RegisterFolder(empty.Path());
    const std::string program = PlaceRecorder(m_temp.Path());
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(m_temp.Path().c_str()));
    DialogCapture capture;
    int result = ShowItem(2, "qdpro", "");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(0, result);
    std::string commandLine = RecordedCommandLine(m_temp.Path());
    EXPECT_EQ(0, lstrcmpiA((program + " /product:qdpro /page:Config").c_str(), commandLine.c_str()))
        << commandLine;
    EXPECT_TRUE(capture.Dialogs().empty());
}

TEST_F(ShowUpdateManagerItemTest, ProgramThatCannotStartGivesMinusTwoSilently)
{
    m_temp.Write(kProgram, "not a program");
    RegisterFolder(m_temp.Path());
    DialogCapture capture;
    EXPECT_EQ(-2, ShowItem(0, "qdpro", ""));
    EXPECT_TRUE(capture.Dialogs().empty());
}

} // namespace
