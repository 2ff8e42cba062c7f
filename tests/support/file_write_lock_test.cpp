#include "harness/temp_folder.h"
#include "support/file_replace.h"
#include "support/file_write_lock.h"
#include "support/shared_file.h"
#include "support/text.h"
#include <gtest/gtest.h>

#include <thread>

TEST(FileWriteLockName, OneNamePerFileWhateverItsSpelling)
{
    EXPECT_EQ(nv::FileWriteLockName("c:/ndc/product.ndc"),
              nv::FileWriteLockName("C:\\NDC\\Product.NDC"));
    EXPECT_NE(nv::FileWriteLockName("C:\\ndc\\a.ndc"), nv::FileWriteLockName("C:\\ndc\\b.ndc"));
    EXPECT_EQ(std::string::npos, nv::FileWriteLockName("C:\\ndc\\a.ndc").find('\\'));

    // Too long for an object name: shortened, still one name per path.
    const std::string deep = "C:\\" + std::string(400, 'x');
    const std::string name = nv::FileWriteLockName(deep + "\\a.ndc");
    EXPECT_LT(name.size(), size_t(MAX_PATH));
    EXPECT_EQ(name, nv::FileWriteLockName(nv::ToUpper(deep) + "\\A.NDC"));
    EXPECT_NE(name, nv::FileWriteLockName(deep + "y\\a.ndc"));
}

TEST(FileWriteLock, AnotherThreadWaitsBoundedAndGetsItOnRelease)
{
    const std::string path = "C:\\nvinfo-lock-test\\..\\nvinfo-lock-test.ndc";
    auto lockElsewhere = [&](DWORD timeoutMs) {
        bool held = false;
        DWORD error = 0;
        std::thread other([&] {
            nv::CFileWriteLock lock("c:\\NVINFO-LOCK-TEST.ndc", timeoutMs);
            held = lock.IsHeld();
            error = lock.Error();
        });
        other.join();
        return std::make_pair(held, error);
    };
    {
        nv::CFileWriteLock first(path);
        ASSERT_TRUE(first.IsHeld());
        // Re-entrant for the holding thread.
        nv::CFileWriteLock again(path, 0);
        EXPECT_TRUE(again.IsHeld());
        const DWORD before = GetTickCount();
        auto [held, error] = lockElsewhere(200);
        EXPECT_FALSE(held);
        EXPECT_EQ(DWORD(ERROR_TIMEOUT), error);
        EXPECT_GE(GetTickCount() - before, 150u);
    }
    EXPECT_TRUE(lockElsewhere(0).first);
}

// One lock per file whatever its spelling, for a file not made yet too, and the same lock before
// and after a write has put a new file in its place.
TEST(FileWriteLock, OneLockPerFileWhateverItsSpellingAndAcrossReplaces)
{
    TempFolder folder;
    const std::string longFolder = folder.File("Long Folder Name");
    CreateDirectoryA(longFolder.c_str(), nullptr);
    char shortFolder[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameA(longFolder.c_str(), shortFolder, MAX_PATH));
    const std::string path = longFolder + "\\product.ndc";
    const std::string spellings[] = {path, std::string(shortFolder) + "\\PRODUCT.NDC",
                                     "\\\\?\\" + path,
                                     longFolder + "\\..\\Long Folder Name\\product.ndc"};
    const auto heldElsewhere = [](const std::string& spelling) {
        bool held = false;
        std::thread([&] { held = nv::CFileWriteLock(spelling, 0).IsHeld(); }).join();
        return held;
    };
    for (const char* stage : {"new file", "existing file", "replaced file"}) {
        if (stage[0] != 'n')
            folder.Write("new.tmp", stage);
        nv::CFileWriteLock lock(path);
        ASSERT_TRUE(lock.IsHeld());
        if (stage[0] == 'r')
            MoveFileExA(folder.File("new.tmp").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        else if (stage[0] == 'e')
            MoveFileExA(folder.File("new.tmp").c_str(), path.c_str(), 0);
        for (const std::string& spelling : spellings)
            EXPECT_FALSE(heldElsewhere(spelling)) << stage << ": " << spelling;
    }
    EXPECT_TRUE(heldElsewhere(path));
}

// What Windows' ReplaceFileA may leave when it stops part-way: the file removed (1176) or moved
// aside (1177), the new content only in the temporary file.
static BOOL RemovesTheFile(const char* path, const char*)
{
    DeleteFileA(path);
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    return FALSE;
}

static BOOL MovesTheFileAside(const char* path, const char*)
{
    MoveFileA(path, (std::string(path) + ".aside").c_str());
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}

TEST(FileReplace, AReplaceThatStoppedPartWayEndsWithAMoveNotALostFile)
{
    for (nv::PlatformReplace replace : {RemovesTheFile, MovesTheFileAside}) {
        TempFolder folder;
        const std::string path = folder.Write("state.conf", "old");
        nv::ReplaceOutcome outcome = nv::ReplaceFileContent(
            path, "tst",
            [](const char* temporary) {
                return nv::WriteWholeFile(temporary, "new", CREATE_ALWAYS);
            },
            [&] { return ReadWholeFile(path) == "old"; }, replace);
        EXPECT_TRUE(outcome.Succeeded()) << int(outcome.failedStep) << " " << outcome.error;
        EXPECT_EQ("new", FileExists(path) ? ReadWholeFile(path) : "<gone>");
        WIN32_FIND_DATAA found;
        EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA(folder.File("*.tmp").c_str(), &found));
    }
}
