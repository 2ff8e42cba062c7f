// Groups aggregate their members' sizes, flags and installability.
#include "download/download_item_group.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A member that reports a fixed installability without reading anything.
class FixedItem : public CDownloadItem {
public:
    FixedItem(const char* section, const char* size, int update, BOOL installable)
        : m_installable(installable)
    {
        m_strSection = section;
        m_strSize = size;
        m_nUpdate = update;
    }
    BOOL IsInstallable() override { return m_installable; }

private:
    BOOL m_installable;
};

std::unique_ptr<CDownloadItem> Member(const char* section, const char* size, int update,
                                      BOOL installable = TRUE)
{
    return std::make_unique<FixedItem>(section, size, update, installable);
}

TEST(DownloadItemGroup, SizeCountsOnlyWhatIsStillToInstall)
{
    CDownloadItemGroup group;
    group.AddMember(Member("a", "100 kB", 1));
    group.AddMember(Member("b", "250 kB", 0));
    EXPECT_EQ(0, group.GetUpdate());
    EXPECT_EQ("250 kB", group.GetSize());
    EXPECT_EQ(250, group.GetSizeKB());
    group.SetUpdate(1);
    EXPECT_EQ(1, group.GetUpdate());
    EXPECT_EQ("350 kB", group.GetSize());
    for (const auto& member : group.Members())
        EXPECT_EQ(1, member->GetUpdate()) << member->m_strSection;
}

TEST(DownloadItemGroup, InstallableWhenEveryCountedMemberIs)
{
    const struct {
        const char* name;
        int firstUpdate;
        BOOL firstInstallable;
        BOOL expected;
    } rows[] = {
        {"both to install, one not installable", 0, FALSE, FALSE},
        {"the non-installable one installed already", 1, FALSE, TRUE},
        {"both installable", 0, TRUE, TRUE},
    };
    for (const auto& row : rows) {
        CDownloadItemGroup group;
        group.AddMember(Member("a", "", row.firstUpdate, row.firstInstallable));
        group.AddMember(Member("b", "", 0, TRUE));
        EXPECT_EQ(row.expected, group.IsInstallable()) << row.name;
    }
    CDownloadItemGroup empty;
    EXPECT_TRUE(empty.IsInstallable());
    EXPECT_EQ(1, empty.GetUpdate());
    EXPECT_EQ(1, empty.GetDownload());
    EXPECT_EQ(0, empty.GetWantDownload());
}

TEST(DownloadItemGroup, FlagsAggregateOverMembers)
{
    CDownloadItemGroup group;
    group.AddMember(Member("a", "", 0));
    group.AddMember(Member("b", "", 0));
    group.Members()[0]->SetWantDownload(0);
    group.Members()[1]->SetWantDownload(0);
    EXPECT_EQ(0, group.GetWantDownload());
    group.Members()[1]->SetWantDownload(1);
    EXPECT_EQ(1, group.GetWantDownload()) << "one member wanting is enough";

    group.Members()[0]->SetDownload(1);
    EXPECT_EQ(0, group.GetDownload());
    group.Members()[1]->SetDownload(1);
    EXPECT_EQ(1, group.GetDownload());

    group.Members()[1]->m_nElster = 1;
    EXPECT_EQ(1, group.GetElster());
    group.Members()[1]->SetUpdate(1);
    EXPECT_EQ(0, group.GetElster()) << "an installed member does not count";

    group.SetWantDownload(0);
    EXPECT_EQ(1, group.Members()[1]->GetWantDownload()) << "installed member not counted";
    EXPECT_EQ(0, group.Members()[0]->GetWantDownload());
    EXPECT_EQ(0, group.m_bWantDownload);
}

TEST(DownloadItemGroup, HasNoFileOfItsOwn)
{
    CDownloadItemGroup group;
    group.m_strFileURL = "http://x";
    group.m_strFile = "f.exe";
    group.m_strDestination = "dest";
    EXPECT_EQ("", group.GetFileURL());
    EXPECT_EQ("", group.GetFile());
    EXPECT_EQ("", group.GetDestination());
}

TEST(DownloadItemGroup, ValidWithAVersionAndNotNamingItself)
{
    CDownloadItemGroup group;
    group.m_strSection = "grp";
    EXPECT_FALSE(group.IsValid());
    group.m_nDateVer = 5;
    EXPECT_TRUE(group.IsValid());
    group.m_strMyGroup = "grp";
    EXPECT_FALSE(group.IsValid());
    group.m_strMyGroup = "other";
    EXPECT_TRUE(group.IsValid());
}

TEST(DownloadItemGroup, WalkVisitsNestedMembersInOrder)
{
    CDownloadItemGroup outer;
    outer.AddMember(Member("a", "", 0));
    auto inner = std::make_unique<CDownloadItemGroup>();
    inner->m_strSection = "inner";
    inner->AddMember(Member("b", "", 0));
    inner->AddMember(Member("c", "", 0));
    outer.AddMember(std::move(inner));
    outer.AddMember(Member("d", "", 0));
    outer.ResetCursor();
    std::string walk;
    for (int step = 0; step < 20 && outer.GetCurrent(); ++step) {
        CDownloadItem* current = outer.GetCurrent();
        walk += current->m_strSection + ",";
        if (!outer.MoveNext())
            break;
    }
    EXPECT_EQ("a,inner,inner,d,", walk);
    EXPECT_EQ(nullptr, outer.GetCurrent());
    EXPECT_FALSE(outer.MoveNext());
    outer.ResetCursor();
    EXPECT_EQ("a", outer.GetCurrent()->m_strSection);
}

} // namespace
