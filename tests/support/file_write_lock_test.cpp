#include "harness/temp_folder.h"
#include "support/file_replace.h"
#include "support/file_write_lock.h"
#include "support/shared_file.h"
#include "support/text.h"
#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(FileWriteLockName, OneNamePerFileWhateverItsSpelling)
{
    EXPECT_EQ(nv::FileWriteLockName("c:/ndc/product.ndc"),
              nv::FileWriteLockName("C:\\NDC\\Product.NDC"));
    EXPECT_NE(nv::FileWriteLockName("C:\\ndc\\a.ndc"), nv::FileWriteLockName("C:\\ndc\\b.ndc"));
    // Too long for an object name: shortened, still one name per path.
    const std::string deep = "C:\\" + std::string(400, 'x');
    const std::string name = nv::FileWriteLockName(deep + "\\a.ndc");
    EXPECT_LT(name.size(), size_t(MAX_PATH));
    EXPECT_EQ(name, nv::FileWriteLockName(nv::ToUpper(deep) + "\\A.NDC"));
    EXPECT_NE(name, nv::FileWriteLockName(deep + "y\\a.ndc"));
}

// Whether another thread gets the lock of `path` within `timeoutMs`, and its error.
static std::pair<bool, DWORD> LockElsewhere(const std::string& path, DWORD timeoutMs)
{
    std::pair<bool, DWORD> got;
    std::thread([&] {
        nv::CFileWriteLock lock(path, timeoutMs);
        got = {lock.IsHeld(), lock.Error()};
    }).join();
    return got;
}

// One lock per file whatever its spelling, for a file not made yet too, and while a write makes
// the file or puts a new one in its place; re-entrant for its holder, waited for bounded by
// another thread, which gets it on release.
TEST(FileWriteLock, OneLockPerFileWhateverItsSpellingWaitedForBounded)
{
    TempFolder folder;
    char shortName[MAX_PATH] = {};
    CreateDirectoryA(folder.File("Long Name").c_str(), nullptr);
    ASSERT_NE(0u, GetShortPathNameA(folder.File("Long Name").c_str(), shortName, MAX_PATH));
    const std::string path = folder.File("Long Name\\Product Catalogue.ndc");
    for (int stage = 0; stage < 3; ++stage) {
        nv::CFileWriteLock lock(path);
        EXPECT_TRUE(nv::CFileWriteLock(path, 0).IsHeld());
        if (stage > 0)
            MoveFileExA(folder.Write("x.tmp", "x").c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING);
        std::vector<std::string> others = {
            std::string(shortName) + "\\PRODUCT CATALOGUE.NDC", "\\\\?\\" + path,
            folder.File("long name\\..\\Long Name\\product catalogue.Ndc")};
        // The file's own short alias, once the file is there.
        char alias[MAX_PATH] = {};
        if (stage > 0) {
            ASSERT_NE(0u, GetShortPathNameA(path.c_str(), alias, MAX_PATH));
            others.push_back(alias);
        }
        for (const std::string& other : others)
            EXPECT_FALSE(LockElsewhere(other, 0).first) << other;
        // The same name in another folder is another file.
        EXPECT_TRUE(LockElsewhere(folder.File("Product Catalogue.ndc"), 0).first);
        const DWORD before = GetTickCount();
        EXPECT_EQ(DWORD(ERROR_TIMEOUT), LockElsewhere(path, 200).second);
        EXPECT_GE(GetTickCount() - before, 150u);
    }
    EXPECT_TRUE(LockElsewhere(path, 0).first);
}

// Windows' ReplaceFileA may stop with the file gone from its name and the content only in the
// temporary file: the replace ends with a move.
TEST(FileReplace, AReplaceThatStoppedPartWayEndsWithAMoveNotALostFile)
{
    static DWORD partWay;
    for (DWORD code : {ERROR_UNABLE_TO_MOVE_REPLACEMENT, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}) {
        partWay = code;
        TempFolder folder;
        const std::string path = folder.Write("state.conf", "old");
        const auto stopPartWay = [](const char* replaced, const char*) {
            SetLastError(DeleteFileA(replaced) ? partWay : ERROR_FILE_NOT_FOUND);
            return FALSE;
        };
        nv::ReplaceFileBytes(
            path, "tst", "new", [&] { return ReadWholeFile(path) == "old"; }, stopPartWay);
        EXPECT_EQ("new", FileExists(path) ? ReadWholeFile(path) : "<gone>") << code;
    }
}

// The temporary file gets a name no file has: files left under the names it tries first (by
// another writer, or by a replace that stopped part-way) stay as they are.
TEST(FileReplace, TheTemporaryFileTakesNoNameAFileHas)
{
    TempFolder folder;
    const std::string path = folder.Write("state.conf", "old");
    std::vector<std::string> left;
    for (UINT unique = GetTickCount(), end = unique + 300; unique != end; ++unique) {
        char name[MAX_PATH] = {};
        if (unique & 0xFFFF && GetTempFileNameA(folder.Path().c_str(), "tst", unique, name))
            left.push_back(folder.Write(name + folder.Path().size() + 1, "left"));
    }
    EXPECT_TRUE(nv::ReplaceFileBytes(path, "tst", "new").Succeeded());
    EXPECT_EQ("new", ReadWholeFile(path));
    for (const std::string& file : left)
        ASSERT_EQ("left", FileExists(file) ? ReadWholeFile(file) : "<gone>") << file;
}
