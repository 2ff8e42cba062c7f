// The batched write-back must leave a file that the platform reads exactly as
// it reads the file after the same WritePrivateProfileStringA calls.
#include "download/ini_batch_writer.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using nv::IniWrite;

// Everything the private-profile reads give: the section names in order and,
// per section, its keys with their values.
std::vector<std::string> ReadBack(const std::string& path)
{
    std::vector<std::string> seen;
    std::vector<char> names(1 << 16);
    GetPrivateProfileStringA(nullptr, nullptr, "", names.data(), static_cast<DWORD>(names.size()),
                             path.c_str());
    for (const char* section = names.data(); *section; section += strlen(section) + 1) {
        seen.push_back(std::string("[") + section + "]");
        std::vector<char> keys(1 << 16);
        GetPrivateProfileStringA(section, nullptr, "", keys.data(),
                                 static_cast<DWORD>(keys.size()), path.c_str());
        for (const char* key = keys.data(); *key; key += strlen(key) + 1) {
            char value[1024] = {0};
            GetPrivateProfileStringA(section, key, "<none>", value, sizeof(value), path.c_str());
            seen.push_back(std::string(key) + "=" + value);
        }
        std::vector<char> raw(1 << 16);
        DWORD length = GetPrivateProfileSectionA(section, raw.data(),
                                                 static_cast<DWORD>(raw.size()), path.c_str());
        seen.push_back("raw:" + std::string(raw.data(), length));
    }
    return seen;
}

const std::vector<IniWrite>& MergeLikeWrites()
{
    static const std::vector<IniWrite> writes = {
        {"alpha", "QuotaDiced", "123"}, {"alpha", "Update", "1"},  {"alpha", "Download", "1"},
        {"beta", "Update", "1"},        {"BETA", "update", "0"},   {"gamma", "Download", "1"},
        {"new one", "Update", "1"},     {"new one", "Download", "1"},
        {"\xDC" "ber", "Update", "1"},  {"delta", "Download", "1"}, {"alpha", "Update", "0"},
    };
    return writes;
}

struct FileCase {
    const char* name;
    const char* content;
};

const FileCase kFiles[] = {
    {"plain CRLF", "[Header]\r\nDateVer=1\r\n[alpha]\r\nName=A\r\nUpdate=0\r\n[beta]\r\nName=B\r\n"},
    {"plain LF", "[Header]\nDateVer=1\n[alpha]\nName=A\nUpdate=0\n[beta]\nName=B\n"},
    {"mixed line ends", "[alpha]\r\nName=A\n[beta]\nUpdate=0\r\n"},
    {"no trailing newline", "[alpha]\nName=A\n[beta]\nUpdate = 0"},
    {"no trailing newline after header", "[alpha]\nName=A\n[beta]"},
    {"blanks around equals", "[alpha]\n  Update  =  0  \n\tDownload\t=\t0\n[ beta ]  trailing\n"},
    {"quoted values", "[alpha]\nUpdate=\"0\"\nName='A'\n[beta]\nName=\"B\n"},
    {"duplicate keys", "[alpha]\nUpdate=0\nUpdate=5\nupdate=6\n"},
    {"duplicate sections", "[alpha]\nName=A\n[beta]\nName=B\n[ALPHA]\nUpdate=7\n[beta]\nx=1\n"},
    {"blank lines and comments", "\n\n[alpha]\n; comment\n\nName=A\n\n\n[beta]\n\n"},
    {"key without equals", "[alpha]\nUpdate\nDownload\n[beta]\n"},
    {"lines before any section", "stray=1\nUpdate=4\n[alpha]\nName=A\n"},
    {"unclosed header", "[alpha]\nName=A\n[beta\nUpdate=0\n"},
    {"umlaut section", "[\xDC" "ber]\nName=U\n[\xFC" "ber]\nName=u\n"},
    {"empty file", ""},
    {"only blanks", "\r\n  \r\n"},
    {"utf-8 byte order mark", "\xEF\xBB\xBF[alpha]\r\nName=A\r\n"},
    {"lone carriage returns", "[alpha]\rName=A\r[beta]\r"},
};

TEST(IniBatchWriter, ReadsBackAsThePlatformsWritesDo)
{
    TempFolder folder;
    for (const FileCase& row : kFiles) {
        std::string byPlatform = folder.Write(std::string(row.name) + ".platform.ini", row.content);
        std::string byBatch = folder.Write(std::string(row.name) + ".batch.ini", row.content);
        for (const IniWrite& write : MergeLikeWrites())
            WritePrivateProfileStringA(write.section.c_str(), write.key.c_str(),
                                       write.value.c_str(), byPlatform.c_str());
        EXPECT_TRUE(nv::WriteIniFile(byBatch, MergeLikeWrites())) << row.name;
        EXPECT_EQ(ReadBack(byPlatform), ReadBack(byBatch)) << row.name;
    }
}

struct EditCase {
    const char* name;
    const char* content;
    std::vector<IniWrite> writes;
    const char* expected;
};

// Untouched lines keep their bytes; added lines are written as the platform
// writes them (CR LF, no blanks around "=").
TEST(IniTextEdit, KeepsUntouchedLinesAndAddsLinesAsThePlatform)
{
    const EditCase cases[] = {
        {"replace keeps the line end and the key's spelling", "[A]\n  uPdate = 0 \n\n[B]\ny=2",
         {{"a", "Update", "1"}}, "[A]\nuPdate=1\n\n[B]\ny=2"},
        {"new key follows the last line of its section", "[A]\nx=1\n\n[B]\ny=2",
         {{"A", "Download", "1"}}, "[A]\nx=1\nDownload=1\r\n\n[B]\ny=2"},
        {"new key after a last line without newline", "[A]\nx=1", {{"A", "k", "1"}},
         "[A]\nx=1\r\nk=1\r\n"},
        {"new section at the end", "[A]\nx=1", {{"B", "k", "1"}, {"B", "j", "2"}},
         "[A]\nx=1\r\n[B]\r\nk=1\r\nj=2\r\n"},
        {"a key added twice is written once", "[A]\n", {{"A", "k", "1"}, {"a", "K", "2"}},
         "[A]\nk=2\r\n"},
        {"the first of duplicate keys is replaced", "[A]\nk=1\nk=2\n", {{"A", "k", "3"}},
         "[A]\nk=3\nk=2\n"},
        {"leading blanks of a value are dropped", "[A]\n", {{"A", "k", "  7"}}, "[A]\nk=7\r\n"},
    };
    for (const EditCase& row : cases) {
        std::string result = "<unchanged>";
        EXPECT_TRUE(nv::ApplyIniWrites(row.content, row.writes, result)) << row.name;
        EXPECT_EQ(row.expected, result) << row.name;
    }
}

TEST(IniTextEdit, LeavesToThePlatformWhatItCannotTakeExactly)
{
    const EditCase cases[] = {
        {"utf-16 byte order mark", "\xFF\xFE[\0A\0]\0", {{"A", "k", "1"}}, ""},
        {"lone carriage return", "[A]\rk=1", {{"A", "k", "2"}}, ""},
        {"empty section name", "[A]\n", {{" ", "k", "1"}}, ""},
        {"empty key", "[A]\n", {{"A", "", "1"}}, ""},
        {"line break in a value", "[A]\n", {{"A", "k", "1\r\nx=2"}}, ""},
    };
    for (const EditCase& row : cases) {
        std::string result = "<unchanged>";
        EXPECT_FALSE(nv::ApplyIniWrites(row.content, row.writes, result)) << row.name;
        EXPECT_EQ("<unchanged>", result) << row.name;
    }
}

TEST(IniBatchWriter, CollectsOnlyWhileAlive)
{
    TempFolder folder;
    std::string path = folder.Write("flags.ini", "[alpha]\r\nName=A\r\n");
    {
        nv::CIniBatchWriter batch;
        EXPECT_TRUE(nv::WriteProfileKey(path, "alpha", "Update", "1"));
        EXPECT_EQ("[alpha]\r\nName=A\r\n", ReadWholeFile(path)) << "written before the batch ends";
    }
    EXPECT_EQ("[alpha]\r\nName=A\r\nUpdate=1\r\n", ReadWholeFile(path));
    EXPECT_TRUE(nv::WriteProfileKey(path, "alpha", "Download", "1"));
    char value[16] = {0};
    GetPrivateProfileStringA("alpha", "Download", "", value, sizeof(value), path.c_str());
    EXPECT_STREQ("1", value) << "a write outside a batch goes to the platform at once";
}

// A file that cannot be replaced keeps its old text, and no temporary file is
// left beside it.
TEST(IniBatchWriter, LeavesTheFileWholeWhenItCannotBeReplaced)
{
    TempFolder folder;
    const std::string original = "[alpha]\r\nName=A\r\n";
    std::string path = folder.Write("locked.ini", original);
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_FALSE(nv::WriteIniFile(path, {{"alpha", "Update", "1"}}));
    CloseHandle(lock);
    EXPECT_EQ(original, ReadWholeFile(path));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.File("*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "left behind: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST(IniBatchWriter, CreatesAMissingFileAsThePlatformDoes)
{
    TempFolder folder;
    std::string path = folder.File("new.ini");
    EXPECT_TRUE(nv::WriteIniFile(path, {{"alpha", "Update", "1"}}));
    char value[16] = {0};
    GetPrivateProfileStringA("alpha", "Update", "", value, sizeof(value), path.c_str());
    EXPECT_STREQ("1", value);
    EXPECT_FALSE(nv::WriteIniFile(folder.File("no folder\\x.ini"), {{"alpha", "Update", "1"}}));
}

} // namespace
