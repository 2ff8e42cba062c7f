// The in-memory INI reader answers as the private-profile functions do on the same file; the
// batched write-back leaves a file they read as after the same WritePrivateProfileStringA calls.
#include "download/ini_batch_writer.h"
#include "download/ini_snapshot.h"
#include "download/ini_write_back.h"
#include "support/file_write_lock.h"
#include "harness/temp_folder.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

// The section names of a file, as the platform lists them.
static std::vector<std::string> List(const std::string& path)
{
    std::vector<char> buffer(1 << 16);
    GetPrivateProfileStringA(nullptr, nullptr, "", buffer.data(), 1 << 16, path.c_str());
    std::vector<std::string> names;
    for (const char* name = buffer.data(); *name; name += strlen(name) + 1)
        names.push_back(name);
    return names;
}

// Per section in order: its name and its raw text, from which every key's value is read.
static std::vector<std::string> ReadBack(const std::string& path)
{
    std::vector<std::string> seen;
    std::vector<char> raw(1 << 16);
    for (const std::string& section : List(path)) {
        DWORD length =
            GetPrivateProfileSectionA(section.c_str(), raw.data(), 1 << 16, path.c_str());
        seen.push_back("[" + section + "]" + std::string(raw.data(), length));
    }
    return seen;
}

// A lookup (section, key) the snapshot must answer as the platform does for the same file.
using Query = std::pair<const char*, const char*>;

// The lookups of `keys` in one section.
static std::vector<Query> Keys(const char* section, std::initializer_list<const char*> keys)
{
    std::vector<Query> queries;
    for (const char* key : keys)
        queries.push_back({section, key});
    return queries;
}

const struct {
    const char* name;
    std::string content;
    std::vector<Query> queries;
} kSituations[] = {
    {"blanks around names and values",
     "  [A]  \n  k  =  v w  \n\tn\t=\t-7\t\n",
     {{"A", " k "}, {" A ", "k"}, {"A", "n"}}},
    {"quoted values", "[Q]\nd=\"x y\"\ns='x'\nm=\"x'\ne=\"\"\none=\"\n",
     Keys("Q", {"d", "s", "m", "e", "one"})},
    {"no comment syntax", "[C]\nk=v ;x\n;c=1\n", {{"C", "k"}, {"C", ";c"}}},
    {"section present twice", "[S]\na=1\n[T]\n[s]\na=2\nc=3\n", {{"S", "a"}, {"S", "c"}}},
    {"key without equals sign", "[E]\nbare\nk=\n=v\n", {{"E", "bare"}, {"E", "k"}, {"E", ""}}},
    {"keys before the first section", "k=v\n[F]\nk=w\n", {{"F", "k"}, {"", "k"}}},
    {"broken header", "[G]\n[H\nk=v\n[I]x\nk=w\n", {{"G", "k"}, {"I", "k"}}},
    {"line ends", "[L]\rk=cr\r\n\r\nn=lf", {{"L", "k"}, {"L", "n"}}},
    {"only A-Z fold",
     "[\304rger]\n\374ber=\344\366\374\337\n",
     {{"\344rger", "\374ber"}, {"\304RGER", "\334BER"}, {"\304rger", "\374BER"}}},
    {"integers",
     "[N]\nb= -5\nc=+7x\nd=x7\ne=0x10\ng=99999999999\nh=\"12\"\ni=\n"
     "k=12345678901234567890123456789012345\nl=0X10\nm=0b101\nn=0o17\no=0xfg\np=-0x10\n",
     Keys("N", {"b", "c", "d", "e", "g", "h", "i", "k", "l", "m", "n", "o", "p", "missing"})},
    {"long values",
     "[V]\nb=" + std::string(1022, 'b') + "\nc=" + std::string(1023, 'c') +
         "\nd=" + std::string(1100, 'd') + "\nr=\"" + std::string(1022, 'r') + "\"\ns=\"" +
         std::string(1100, 's') + "\"\n",
     Keys("V", {"b", "c", "d", "r", "s"})},
    {"embedded zero bytes",
     std::string("[Z]\nk=ab\0cd\nm\0x=1\n[Y\0W]\nk=2\n", 28),
     {{"Z", "k"}, {"Z", "m"}, {"Y", "k"}}},
    {"utf-16 with byte order mark",
     std::string("\xFF\xFE[\0U\0]\0\n\0k\0=\0\xE4\0\n\0", 18),
     {{"U", "k"}}},
    {"binary garbage",
     std::string("\x01\x02[\x90\x00]\xFF\n=\x7F\x80==\n[\x05]\n\x1A\x1A\n", 21),
     {{"\x05", "\x1A"}}},
    {"section without a name", "[]\nk=v\n[ ]\nm=w\n", {{"", "k"}, {"", "m"}}},
};

TEST(IniSnapshot, AnswersAsThePrivateProfileFunctions)
{
    TempFolder folder;
    std::vector<char> buffer(1 << 16);
    for (const auto& situation : kSituations) {
        SCOPED_TRACE(situation.name);
        const std::string path =
            folder.Write(std::string(situation.name) + ".ini", situation.content);
        nv::IniSnapshot snapshot;
        ASSERT_TRUE(nv::IniSnapshot::ReadFileWithin(path, 1 << 20, snapshot));
        EXPECT_EQ(List(path), snapshot.SectionNames());
        for (const Query& query : situation.queries) {
            SCOPED_TRACE(std::string("[") + query.first + "] " + query.second);
            for (DWORD size : {1023u, 1024u, 4u, 2u}) {
                for (const char* fallback : {"", "dflt  "}) {
                    DWORD length = GetPrivateProfileStringA(query.first, query.second, fallback,
                                                            buffer.data(), size, path.c_str());
                    EXPECT_EQ(std::string(buffer.data(), length),
                              snapshot.GetString(query.first, query.second, fallback, size))
                        << size << " \"" << fallback << "\"";
                }
            }
            EXPECT_EQ(int(GetPrivateProfileIntA(query.first, query.second, -3, path.c_str())),
                      snapshot.GetInt(query.first, query.second, -3));
        }
    }
    nv::IniSnapshot missing, held;
    EXPECT_TRUE(nv::IniSnapshot::ReadFileWithin(folder.File("none.ini"), 1, missing));
    EXPECT_TRUE(missing.SectionNames().empty());
    // A file another handle holds without sharing for a moment is read once it is free.
    const std::string path = folder.Write("held.ini", "[a]\nk=v\n");
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0);
    std::thread release([&] {
        Sleep(30);
        CloseHandle(handle);
    });
    EXPECT_TRUE(nv::IniSnapshot::ReadFileWithin(path, 1 << 20, held));
    release.join();
    EXPECT_EQ(1u, held.SectionNames().size());
}

// Sections of many lines and many new keys too, which the write-back indexes instead of scanning.
TEST(IniBatchWriter, ReadsBackAsThePlatformsWritesDoOnceApplied)
{
    std::vector<nv::IniWrite> writes = {
        {"alpha", "QuotaDiced", "123"}, {"alpha", "Update", "1"},     {"alpha", "Download", "1"},
        {"beta", "Update", "1"},        {"BETA", "update", "0"},      {"beta", "Download", "1"},
        {"new one", "Update", "1"},     {"new one", "Download", "1"}, {"\334ber", "Update", "1"},
        {"alpha", "Update", "0"},       {"alpha", "Name", "  padded"}};
    std::string longSection = "[alpha]\r\n";
    for (int i = 0; i < 40; ++i) {
        longSection += "k" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
        writes.push_back({"alpha", "n" + std::to_string(i), "1"});
    }
    longSection += "Update=0\r\nupdate=5\r\n[beta]\r\n";
    writes.insert(writes.end(),
                  {{"ALPHA", "UPDATE", "1"}, {"alpha", "N39", "2"}, {"alpha", "n0", "3"}});
    const struct {
        const char* name;
        const char* content; // null: no file yet
    } rows[] = {
        {"CRLF", "[Header]\r\nDateVer=1\r\n[alpha]\r\nName=A\r\nUpdate=0\r\n[beta]\r\nName=B\r\n"},
        {"no trailing newline", "[alpha]\nName=A\n[beta]\nUpdate = 0"},
        {"missing file", nullptr},
        {"blanks around equals",
         "[alpha]\n  Update  =  0  \n\tDownload\t=\t0\n[ beta ]  trailing\n"},
        {"duplicate keys", "[alpha]\nUpdate=0\nUpdate=5\nupdate=6\n"},
        {"duplicate sections", "[alpha]\nName=A\n[beta]\nName=B\n[ALPHA]\nUpdate=7\n[beta]\nx=1\n"},
        {"blank lines and comments", "\n\n[alpha]\n; comment\n\nName=A\n\n\n[beta]\n\n"},
        {"key without equals", "[alpha]\nUpdate\nDownload\n[beta]\n"},
        {"lines before any section", "stray=1\nUpdate=4\n[alpha]\nName=A\n"},
        {"unclosed header", "[alpha]\nName=A\n[beta\nUpdate=0\n"},
        {"umlaut section", "[\334ber]\nName=U\n[\374ber]\nName=u\n"},
        {"utf-8 byte order mark", "\xEF\xBB\xBF[alpha]\r\nName=A\r\n"},
        {"lone carriage returns", "[alpha]\rName=A\r[beta]\r"},
        {"long section", longSection.c_str()},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        const auto start = [&](const char* name) {
            return row.content ? folder.Write(name, row.content)
                               : folder.File(std::string("new.") + name);
        };
        const std::string byPlatform = start("platform.ini"), byBatch = start("batch.ini");
        for (const nv::IniWrite& write : writes)
            WritePrivateProfileStringA(write.section.c_str(), write.key.c_str(),
                                       write.value.c_str(), byPlatform.c_str());
        EXPECT_EQ(DWORD(ERROR_SUCCESS), nv::WriteIniFile(byBatch, writes)) << row.name;
        EXPECT_EQ(ReadBack(byPlatform), ReadBack(byBatch)) << row.name;
    }
    EXPECT_NE(DWORD(ERROR_SUCCESS), nv::WriteIniFile(folder.File("no folder\\x.ini"), writes));
    // A batch holds its keys until Apply; a write without a batch lands at once, also while a
    // batch is open, and is not undone by the batch's later replace.
    const std::string path = folder.Write("items.ini", "[alpha]\r\nUpdate=0\r\nDownload=0\r\n");
    const auto flags = [&] {
        return std::to_string(GetPrivateProfileIntA("alpha", "Update", 9, path.c_str())) +
               std::to_string(GetPrivateProfileIntA("alpha", "Download", 9, path.c_str()));
    };
    nv::CIniBatchWriter batch;
    EXPECT_TRUE(nv::WriteProfileKeyTo(&batch, path, "alpha", "Update", "1"));
    EXPECT_TRUE(nv::WriteProfileKeyTo(nullptr, path, "alpha", "Download", "1"));
    EXPECT_EQ("01", flags());
    EXPECT_EQ(DWORD(ERROR_SUCCESS), batch.Apply());
    EXPECT_EQ("11", flags());
}

// Sections a batch adds are found again by any spelling, also once they outgrow the room the
// file's own sections were indexed with.
TEST(IniBatchWriter, FindsTheSectionsItAddsByAnyCase)
{
    std::vector<nv::IniWrite> writes;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 60; ++i)
            writes.push_back(
                {(round ? "NEW" : "new") + std::to_string(i), "Update", std::to_string(round)});
    TempFolder folder;
    const std::string byPlatform = folder.Write("platform.ini", "[new0]\r\nUpdate=5\r\n");
    const std::string byBatch = folder.Write("batch.ini", "[new0]\r\nUpdate=5\r\n");
    for (const nv::IniWrite& write : writes)
        WritePrivateProfileStringA(write.section.c_str(), write.key.c_str(), write.value.c_str(),
                                   byPlatform.c_str());
    EXPECT_EQ(DWORD(ERROR_SUCCESS), nv::WriteIniFile(byBatch, writes));
    EXPECT_EQ(ReadBack(byPlatform), ReadBack(byBatch));
}

// A batch given the bytes its owner loaded under the file's lock edits them instead of reading
// the file again; a write without the lock since then is still found and kept.
TEST(IniBatchWriter, AWriteSinceTheOwnerLoadedTheFileIsKept)
{
    TempFolder folder;
    const std::string loaded = "[own]\r\nk=0\r\n";
    const std::string path = folder.Write("held.ini", loaded);
    nv::CFileWriteLock lock(path);
    nv::CIniBatchWriter batch;
    batch.Holding(path, nv::IniSnapshot::OfContent(loaded));
    batch.Add(path, "own", "k", "2");
    ASSERT_TRUE(WritePrivateProfileStringA("other", "k", "1", path.c_str()));
    EXPECT_EQ(DWORD(ERROR_SUCCESS), batch.Apply());
    EXPECT_EQ("[own]\r\nk=2\r\n[other]\r\nk=1\r\n", ReadWholeFile(path));
}

// The file as the write-back sees it; others write into it between our read and our replace
// `foreignWrites` times.
struct ChangingFile : nv::IniFileAccess {
    std::string content = "[own]\r\nk=0\r\n";
    int foreignWrites = 0;
    nv::ReplaceStep failing = nv::ReplaceStep::Replace;
    DWORD replaceError = 0, keysError = 0;
    bool keysWritten = false;

    bool Read(std::string& out) override { return (out = content), true; }
    nv::ReplaceOutcome Replace(const std::string& text, const std::string& basis) override
    {
        if (foreignWrites > 0)
            content += "[other" + std::to_string(foreignWrites--) + "]\r\nk=1\r\n";
        if (content != basis || replaceError)
            return {content != basis ? nv::ReplaceStep::Changed : failing, replaceError};
        content = text;
        return {};
    }
    DWORD WriteKeys(const std::vector<nv::IniWrite>&) override
    {
        keysWritten = true;
        return keysError;
    }
};

// A real file that the platform's per-key write, which takes no lock, changes between the
// write-back's first read and its replace: the replace must see the change on disk.
struct WrittenBetween : nv::IniFileAccess {
    std::string path;
    std::unique_ptr<nv::IniFileAccess> disk = nv::IniFileOnDisk(path);

    explicit WrittenBetween(const std::string& path) : path(path) {}
    bool Read(std::string& content) override
    {
        const bool read = disk->Read(content);
        WritePrivateProfileStringA("other", "k", "1", path.c_str());
        return read;
    }
    nv::ReplaceOutcome Replace(const std::string& text, const std::string& basis) override
    {
        return disk->Replace(text, basis);
    }
    DWORD WriteKeys(const std::vector<nv::IniWrite>& writes) override
    {
        return disk->WriteKeys(writes);
    }
};

TEST(IniWriteBack, AWriteWithoutTheLockBetweenReadAndReplaceIsKept)
{
    TempFolder folder;
    WrittenBetween file(folder.Write("between.ini", "[own]\r\nk=0\r\n"));
    EXPECT_EQ(DWORD(ERROR_SUCCESS), nv::WriteBack(file, {{"own", "k", "2"}}));
    EXPECT_EQ("[own]\r\nk=2\r\n[other]\r\nk=1\r\n", ReadWholeFile(file.path));
}

// The platform's writes only where a handle is in the way: a temporary file that cannot be made
// or written is a failed write, and the file stays as it was.
TEST(IniWriteBack, EditsAgainWhatChangedAndFallsBackToThePlatformsWrites)
{
    const struct {
        const char* name;
        int foreignWrites;
        DWORD replaceError, result;
        const char* text; // afterwards; null: the writes went key by key
        nv::ReplaceStep failing = nv::ReplaceStep::Replace;
    } rows[] = {
        {"unchanged", 0, 0, 0, "[own]\r\nk=2\r\n"},
        {"changed once: edited again", 1, 0, 0, "[own]\r\nk=2\r\n[other1]\r\nk=1\r\n"},
        {"changed every round", nv::kWriteBackRounds, 0, 0, nullptr},
        {"held, keys fail too", 0, ERROR_SHARING_VIOLATION, ERROR_WRITE_FAULT, nullptr},
        {"no temporary file", 0, ERROR_DISK_FULL, ERROR_DISK_FULL, "[own]\r\nk=0\r\n",
         nv::ReplaceStep::CreateTemporary},
    };
    for (const auto& row : rows) {
        ChangingFile file;
        file.foreignWrites = row.foreignWrites;
        file.failing = row.failing;
        file.replaceError = row.replaceError;
        file.keysError = row.text ? 0 : row.result;
        EXPECT_EQ(row.result, nv::WriteBack(file, {{"own", "k", "2"}})) << row.name;
        EXPECT_EQ(!row.text, file.keysWritten) << row.name;
        EXPECT_TRUE(!row.text || file.content == row.text) << row.name;
    }
}
