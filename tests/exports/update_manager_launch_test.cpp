// ShowUpdateManagerItem against a real program: a recorder copied under the
// update manager's name writes the command line it received beside itself.
#include "dialog_capture.h"
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"
#include "harness/placed_file.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

namespace {

const char* const kProgram = "NvUpdateManager.exe";
const char* const kKey = "Software\\Norvane\\Gemeinsame Dateien\\Update Manager\\Verzeichnisse";

class ShowUpdateManagerItemTest : public testing::Test {
protected:
    int Show(int page, const char* product, const char* item)
    {
        DialogCapture capture;
        int result = NvinfoModule::Proc<PFN_NV_SHOWUPDATEMANAGERITEM>("ShowUpdateManagerItem")(
            page, product, item);
        m_boxes = capture.Dialogs();
        return result;
    }
    void Register(const std::string& to) { m_reg.Set(HKEY_LOCAL_MACHINE, kKey, "Prog", to); }
    // Places the recorder as the update manager in `folder`; its path.
    std::string PlaceRecorder(const std::string& folder)
    {
        std::string program = folder + "\\" + kProgram;
        EXPECT_TRUE(CopyFileA(OutputFile("nvrecorder.exe").c_str(), program.c_str(), FALSE));
        return program;
    }
    // The command line the recorder in `folder` received; empty if it never ran.
    // Wine's rename keeps the file open a moment, so a first read may fail.
    std::string Recorded(const std::string& folder)
    {
        const std::string record = folder + "\\commandline.txt";
        std::string commandLine;
        for (int tries = 0; tries < 1000 && (commandLine = ReadWholeFile(record)).empty(); ++tries)
            Sleep(20);
        DeleteFileA(record.c_str());
        return commandLine;
    }

    RegistrySandbox m_reg;
    TempFolder m_temp;
    std::vector<CapturedDialog> m_boxes;
};

TEST_F(ShowUpdateManagerItemTest, CommandLineIsExactlyAsDefined)
{
    // A blank in the folder, as in the suite's default place.
    const std::string folder = m_temp.Path() + "\\Update Manager";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string program = PlaceRecorder(folder);
    Register(folder);
    struct Row {
        const char* name;
        int page;
        const char *product, *item, *arguments;
    } rows[] = {
        {"update page for a product", 0, "qdpro", "", "/product:qdpro /page:Update"},
        {"news page, item, no product", 1, "", "abc", " /page:News /item:abc"},
        {"page 3 adds no page", 3, "p", "i", "/product:p /item:i"},
        {"page -1 adds no page", -1, "p", "i", "/product:p /item:i"},
        {"null texts are empty", 0, nullptr, nullptr, " /page:Update"},
        {"verbatim", 1, "\"q d\"", "\xE4/item:", "/product:\"q d\" /page:News /item:\xE4/item:"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(0, Show(row.page, row.product, row.item)) << row.name;
        EXPECT_EQ(program + " " + row.arguments, Recorded(folder)) << row.name;
        EXPECT_TRUE(m_boxes.empty()) << row.name;
    }
}

// Nothing registered: the suite's default place, made here when the test prefix lacks it. Not in
// the registered folder: the search path, else a message naming the registered place; there but
// not a program: silent.
TEST_F(ShowUpdateManagerItemTest, ProgramInTheDefaultPlaceOrOutsideTheRegisteredFolder)
{
    m_reg.DeleteValue(HKEY_LOCAL_MACHINE, kKey, "Prog");
    const std::string folder = "C:\\Programme\\Gemeinsame Dateien\\Norvane\\Update Manager";
    {
        PlacedFile program(folder + "\\" + kProgram);
        program.Write(ReadWholeFile(OutputFile("nvrecorder.exe")));
        EXPECT_EQ(0, Show(0, "qdpro", ""));
        EXPECT_EQ(program.Path() + " /product:qdpro /page:Update", Recorded(folder));
    }
    TempFolder registered;
    Register(registered.Path());
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(m_temp.Path().c_str()));
    EXPECT_EQ(-1, Show(0, "qdpro", ""));
    const std::vector<CapturedDialog> missing = m_boxes;
    const std::string program = PlaceRecorder(m_temp.Path());
    EXPECT_EQ(0, Show(2, "qdpro", ""));
    registered.Write(kProgram, "not a program");
    EXPECT_EQ(-2, Show(0, "qdpro", ""));
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(m_boxes.empty());
    std::string commandLine = Recorded(m_temp.Path());
    EXPECT_EQ(0, lstrcmpiA((program + " /product:qdpro /page:Config").c_str(), commandLine.c_str()))
        << commandLine;
    ASSERT_EQ(1u, missing.size());
    EXPECT_EQ("Die Datei " + registered.File(kProgram) + " ist nicht vorhanden.", missing[0].text);
    EXPECT_EQ("nvinfo", missing[0].caption);
}

} // namespace
