// The batched write-back must leave a file that the platform reads exactly as
// it reads the file after the same WritePrivateProfileStringA calls.
#include "download/ini_batch_writer.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Per section in order: its name, its keys with their values, its raw text.
std::vector<std::string> ReadBack(const std::string& path)
{
    std::vector<std::string> seen;
    std::vector<char> names(1 << 16), keys(1 << 16), raw(1 << 16);
    GetPrivateProfileStringA(nullptr, nullptr, "", names.data(), 1 << 16, path.c_str());
    for (const char* section = names.data(); *section; section += strlen(section) + 1) {
        seen.push_back(std::string("[") + section + "]");
        GetPrivateProfileStringA(section, nullptr, "", keys.data(), 1 << 16, path.c_str());
        for (const char* key = keys.data(); *key; key += strlen(key) + 1) {
            char value[1024] = {0};
            GetPrivateProfileStringA(section, key, "<none>", value, sizeof(value), path.c_str());
            seen.push_back(std::string(key) + "=" + value);
        }
        DWORD length = GetPrivateProfileSectionA(section, raw.data(), 1 << 16, path.c_str());
        seen.push_back("raw:" + std::string(raw.data(), length));
    }
    return seen;
}

TEST(IniBatchWriter, ReadsBackAsThePlatformsWritesDo)
{
    const std::vector<nv::IniWrite> writes = {
        {"alpha", "QuotaDiced", "123"}, {"alpha", "Update", "1"},  {"alpha", "Download", "1"},
        {"beta", "Update", "1"},        {"BETA", "update", "0"},   {"gamma", "Download", "1"},
        {"new one", "Update", "1"},     {"new one", "Download", "1"},
        {"\xDC" "ber", "Update", "1"},  {"delta", "Download", "1"}, {"alpha", "Update", "0"},
        {"alpha", "Name", "  padded"},
    };
    const struct {
        const char* name;
        const char* content;  // null: no file yet
    } rows[] = {
        {"plain CRLF", "[Header]\r\nDateVer=1\r\n[alpha]\r\nName=A\r\nUpdate=0\r\n[beta]\r\nName=B\r\n"},
        {"plain LF", "[Header]\nDateVer=1\n[alpha]\nName=A\nUpdate=0\n[beta]\nName=B\n"},
        {"mixed line ends", "[alpha]\r\nName=A\n[beta]\nUpdate=0\r\n"},
        {"no trailing newline", "[alpha]\nName=A\n[beta]\nUpdate = 0"},
        {"blanks around equals", "[alpha]\n  Update  =  0  \n\tDownload\t=\t0\n[ beta ]  trailing\n"},
        {"quoted values", "[alpha]\nUpdate=\"0\"\nName='A'\n[beta]\nName=\"B\n"},
        {"duplicate keys", "[alpha]\nUpdate=0\nUpdate=5\nupdate=6\n"},
        {"duplicate sections", "[alpha]\nName=A\n[beta]\nName=B\n[ALPHA]\nUpdate=7\n[beta]\nx=1\n"},
        {"blank lines and comments", "\n\n[alpha]\n; comment\n\nName=A\n\n\n[beta]\n\n"},
        {"key without equals", "[alpha]\nUpdate\nDownload\n[beta]\n"},
        {"lines before any section", "stray=1\nUpdate=4\n[alpha]\nName=A\n"},
        {"unclosed header", "[alpha]\nName=A\n[beta\nUpdate=0\n"},
        {"umlaut section", "[\xDC" "ber]\nName=U\n[\xFC" "ber]\nName=u\n"}, {"empty file", ""},
        {"utf-8 byte order mark", "\xEF\xBB\xBF[alpha]\r\nName=A\r\n"},
        {"lone carriage returns", "[alpha]\rName=A\r[beta]\r"}, {"missing file", nullptr},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        const std::string byPlatform = row.content ? folder.Write("platform.ini", row.content)
                                                   : folder.File("new.platform.ini");
        const std::string byBatch =
            row.content ? folder.Write("batch.ini", row.content) : folder.File("new.batch.ini");
        for (const nv::IniWrite& write : writes)
            WritePrivateProfileStringA(write.section.c_str(), write.key.c_str(),
                                       write.value.c_str(), byPlatform.c_str());
        EXPECT_TRUE(nv::WriteIniFile(byBatch, writes)) << row.name;
        EXPECT_EQ(ReadBack(byPlatform), ReadBack(byBatch)) << row.name;
    }
    EXPECT_FALSE(nv::WriteIniFile(folder.File("no folder\\x.ini"), writes));
}

// A file that cannot be replaced keeps its old text; no temporary file is left.
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
    FindClose(search);
}

} // namespace
