// MergeNdc, MergeNdc2 and the single-flag exports against real NDC files.
#include "harness/nvinfo_module.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"
#include "xml_outline.h"

#include <gtest/gtest.h>

#include <oleauto.h>

namespace {

std::string ReadKey(const std::string& path, const char* section, const char* key)
{
    char value[64] = {0};
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof(value), path.c_str());
    return value;
}

TEST(MergeNdcExports, CarryTheMachinesStateIntoTheNewFile)
{
    TempFolder folder;
    const std::string oldText = "[Header]\r\nDateVer=1\r\n[same]\r\nDateVer=5\r\nUpdate=1\r\n"
                                "QuotaDiced=123\r\n[newer]\r\nDateVer=5\r\nUpdate=1\r\n"
                                "Download=1\r\n";
    const std::string newText = "[Header]\r\nDateVer=2\r\n[same]\r\nDateVer=5\r\n"
                                "[newer]\r\nDateVer=6\r\n[blocked]\r\nDateVer=1\r\n"
                                "Installiert=/EHKLM\\Software\\NvMergeTest\\Missing\r\n";
    auto mergeNdc = NvinfoModule::Proc<PFN_NV_MERGENDC>("MergeNdc");
    auto mergeNdc2 = NvinfoModule::Proc<PFN_NV_MERGENDC2>("MergeNdc2");
    for (int second = 0; second <= 1; ++second) {
        std::string stem = second ? "two" : "one";
        std::string oldPath = folder.Write(stem + ".old.ndc", oldText);
        std::string newPath = folder.Write(stem + ".new.ndc", newText);
        BSTR message = nullptr;
        int result = second ? mergeNdc2(newPath.c_str(), oldPath.c_str(), &message)
                            : mergeNdc(newPath.c_str(), oldPath.c_str());
        EXPECT_EQ(0, result) << stem;
        if (second) {
            EXPECT_EQ("", TakeBstrText(message));
        }
        std::string expected = newText;
        expected.insert(expected.find("[newer]"), "QuotaDiced=123\r\nUpdate=1\r\n");
        EXPECT_EQ(expected, ReadWholeFile(newPath)) << stem << ": only the carried keys are added";
        EXPECT_EQ("1", ReadKey(newPath, "same", "Update")) << stem;
        EXPECT_EQ("123", ReadKey(newPath, "same", "QuotaDiced")) << stem;
        EXPECT_EQ("<none>", ReadKey(newPath, "same", "Download")) << stem;
        EXPECT_EQ("<none>", ReadKey(newPath, "newer", "Update")) << stem;
        EXPECT_EQ("<none>", ReadKey(newPath, "newer", "Download")) << stem;
        EXPECT_EQ("<none>", ReadKey(newPath, "blocked", "Update")) << stem;
        EXPECT_EQ("<none>", ReadKey(newPath, "blocked", "QuotaDiced")) << stem;
        EXPECT_EQ("2", ReadKey(newPath, "Header", "DateVer")) << stem;
        EXPECT_EQ(oldText, ReadWholeFile(oldPath)) << stem << ": the old file is only read";
    }
}

TEST(MergeNdcExports, MissingFilesGiveMinusThreeAndNoMessage)
{
    TempFolder folder;
    std::string present = folder.Write("present.ndc", "[a]\nDateVer=1\n");
    auto mergeNdc2 = NvinfoModule::Proc<PFN_NV_MERGENDC2>("MergeNdc2");
    struct Row {
        const char* name;
        std::string newPath;
        std::string oldPath;
    } rows[] = {
        {"missing new file", folder.File("absent.ndc"), present},
        {"missing old file", present, folder.File("absent.ndc")},
    };
    for (const Row& row : rows) {
        BSTR message = nullptr;
        EXPECT_EQ(-3, mergeNdc2(row.newPath.c_str(), row.oldPath.c_str(), &message)) << row.name;
        EXPECT_EQ("", TakeBstrText(message)) << row.name;
        EXPECT_FALSE(FileExists(folder.File("absent.ndc"))) << row.name;
        EXPECT_EQ("[a]\nDateVer=1\n", ReadWholeFile(present)) << row.name;
    }
}

TEST(UpdateFlagExports, WriteTheFlagOrReportWhyNot)
{
    TempFolder folder;
    const std::string original = "[Item]\r\nDateVer=1\r\n";
    struct Row {
        const char* name;
        const char* exportName;
        const char* key;
        std::string section;
        std::string file;  // relative to the folder
        int value;
        int expected;
        const char* written;  // the key's value afterwards in `section`
    } rows[] = {
        {"download flag", "UpdateAsDownloaded", "Download", "Item", "a.ndc", 1, 0, "1"},
        {"update flag", "UpdateAsUpdated", "Update", "Item", "b.ndc", 1, 0, "1"},
        {"any value is written", "UpdateAsUpdated", "Update", "Item", "c.ndc", -7, 0, "-7"},
        {"missing section is created as given", "UpdateAsDownloaded", "Download", "NewSection",
         "d.ndc", 1, 0, "1"},
        {"one-character section", "UpdateAsUpdated", "Update", "x", "e.ndc", 1, -1, "<none>"},
        {"one-character path", "UpdateAsDownloaded", "Download", "Item", "", 1, -1, "<none>"},
        {"missing folder", "UpdateAsDownloaded", "Download", "Item", "no folder\\f.ndc", 1, -1,
         "<none>"},
        {"missing folder", "UpdateAsUpdated", "Update", "Item", "no folder\\g.ndc", 1, -1,
         "<none>"},
    };
    for (const Row& row : rows) {
        std::string path = row.file.empty() ? std::string("c") : folder.File(row.file);
        if (row.file.find('\\') == std::string::npos && !row.file.empty())
            folder.Write(row.file, original);
        auto writeFlag = NvinfoModule::Proc<PFN_NV_UPDATEFLAG>(row.exportName);
        EXPECT_EQ(row.expected, writeFlag(row.section.c_str(), path.c_str(), row.value))
            << row.name;
        if (row.file.empty() || row.file.find('\\') != std::string::npos) {
            EXPECT_FALSE(FileExists(path)) << row.name;
            continue;
        }
        EXPECT_EQ(row.written, ReadKey(path, row.section.c_str(), row.key)) << row.name;
        if (row.expected < 0) {
            EXPECT_EQ(original, ReadWholeFile(path)) << row.name;
        }
    }
    // The section keeps its spelling (the item's own writes use it lower-cased).
    EXPECT_NE(std::string::npos, ReadWholeFile(folder.File("d.ndc")).find("[NewSection]"));
}

TEST(UpdateFlagExports, LockedFileIsReportedAsFailure)
{
    TempFolder folder;
    std::string path = folder.Write("locked.ndc", "[Item]\r\nDateVer=1\r\n");
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    auto updateAsUpdated = NvinfoModule::Proc<PFN_NV_UPDATEFLAG>("UpdateAsUpdated");
    EXPECT_EQ(-1, updateAsUpdated("Item", path.c_str(), 1));
    CloseHandle(lock);
    EXPECT_EQ("[Item]\r\nDateVer=1\r\n", ReadWholeFile(path));
}

TEST(UpdateStatusExport, AnswersOnlyFromTheLengthsOfItsTexts)
{
    TempFolder folder;
    std::string path = folder.Write("status.ndc", "[Item]\r\nDateVer=1\r\n");
    struct Row {
        const char* first;
        const char* second;
        const char* third;
        int expected;
    } rows[] = {
        {"Item", path.c_str(), "ab", 0}, {"It", "ab", "cd", 0}, {"I", "ab", "cd", -1},
        {"Item", "a", "cd", -1},         {"Item", "ab", "", -1}, {nullptr, "ab", "cd", -1},
    };
    auto updateStatus = NvinfoModule::Proc<PFN_NV_UPDATESTATUS>("UpdateStatus");
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, updateStatus(row.first, row.second, row.third))
            << (row.first ? row.first : "<null>") << "/" << row.second << "/" << row.third;
    EXPECT_EQ("[Item]\r\nDateVer=1\r\n", ReadWholeFile(path));
}

} // namespace
