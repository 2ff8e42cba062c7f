// Groups aggregate their members' sizes, flags and installability.
#include "download/download_item_group.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct MemberSpec {
    const char* size;
    int update, download, want, elster;
    BOOL installable;
};

// A member that reports a fixed installability without reading anything.
class FixedItem : public CDownloadItem {
public:
    FixedItem(char section, const MemberSpec& spec) : m_installable(spec.installable)
    {
        m_strSection = std::string(1, section);
        m_strSize = spec.size;
        m_nUpdate = spec.update;
        m_nElster = spec.elster;
        SetDownload(spec.download);
        SetWantDownload(spec.want);
    }
    BOOL IsInstallable() override { return m_installable; }

private:
    BOOL m_installable;
};

TEST(DownloadItemGroup, AggregatesOverTheCountedMembers)
{
    const struct {
        const char* name;
        std::vector<MemberSpec> members;  // size, update, download, want, elster, installable
        const char* expected;  // size|kB|update|download|want|elster|installable
    } rows[] = {
        {"no members", {}, "0 kB|0|1|1|0|0|1"},
        {"one installed, one to install",
         {{"100 kB", 1, 1, 0, 1, FALSE}, {"250 kB", 0, 0, 1, 0, TRUE}}, "250 kB|250|0|0|1|0|1"},
        {"all installed: every member counts",
         {{"100 kB", 1, 1, 0, 0, FALSE}, {"250 kB", 1, 0, 0, 1, TRUE}}, "350 kB|350|1|0|0|1|0"},
        {"both to install, one not installable",
         {{"100 kB", 0, 1, 1, 1, FALSE}, {"250kb", 0, 1, 0, 0, TRUE}}, "350 kB|350|0|1|1|1|0"},
        {"want of an installed member counts", {{"1 kB", 1, 0, 1, 0, TRUE}, {"2 kB", 0, 1, 0, 0, TRUE}},
         "2 kB|2|0|1|1|0|1"},
    };
    for (const auto& row : rows) {
        auto group = std::make_unique<CDownloadItemGroup>();
        for (size_t i = 0; i < row.members.size(); ++i)
            group->AddMember(std::make_unique<FixedItem>(char('a' + i), row.members[i]));
        std::string seen = group->GetSize();
        for (int value : {group->GetSizeKB(), group->GetUpdate(), group->GetDownload(),
                          group->GetWantDownload(), group->GetElster(), int(group->IsInstallable())})
            seen += "|" + std::to_string(value);
        EXPECT_EQ(row.expected, seen) << row.name;
    }
}

} // namespace
