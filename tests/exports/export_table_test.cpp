// The module's export directory must hold exactly the suite's 28 entry points,
// with their ordinals, and nothing else: callers bind by these names.
#include "export_table.h"
#include "harness/nvinfo_module.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::map<DWORD, std::string>& ExpectedExports()
{
    static const std::map<DWORD, std::string> expected = {
        {1, "?CheckConstraint@News@Norvane@@YAJPBD@Z"},
        {2, "?EvaluateNodeOSVersion@News@Norvane@@YAJPAUIXMLDOMNode@MSXML2@@@Z"},
        {3, "?EvaluateNodeProduct@News@Norvane@@YAJPAUIXMLDOMNode@MSXML2@@@Z"},
        {4, "?EvaluateNodeRegEntry@News@Norvane@@YAJPAUIXMLDOMNode@MSXML2@@@Z"},
        {5, "GetDaysSinceLastCheck"},
        {6, "GetNdcToDownload2"},
        {7, "GetNdcToDownload3"},
        {8, "GetNews"},
        {9, "?GetNewsDocument@News@Norvane@@YAJPBD0PAPAUIXMLDOMDocument2@MSXML2@@@Z"},
        {10, "GetNewsXml3"},
        {11, "GetNewsXml"},
        {12, "GetUpdateInfos"},
        {13, "GetUpdateMode"},
        {14, "GetUpdates"},
        {15, "IsInstalliert"},
        {16, "IsItemInstallable"},
        {17, "MergeNdc2"},
        {18, "MergeNdc"},
        {19, "SetNewsItemState"},
        {20, "ShowUpdateManagerItem"},
        {21, "UpdateAsDownloaded"},
        {22, "UpdateAsUpdated"},
        {23, "UpdateStatus"},
        {24, "CheckConstraint"},
        {25, "_CloseApps@8"},
        {26, "_GetNewsFromFile@20"},
        {27, "_GetNewsFromFileEx@24"},
        {28, "IsLocalUpdateAvailable"},
    };
    return expected;
}

TEST(ExportTable, HoldsExactlyTheSuitesNamesAndOrdinals)
{
    ExportTable table = ReadExportTable(NvinfoModule::Handle());
    EXPECT_EQ("nvinfo.dll", table.moduleName);
    EXPECT_EQ(28u, table.functionCount);
    std::map<DWORD, std::string> actual;
    for (const ExportEntry& entry : table.entries) {
        EXPECT_FALSE(entry.name.empty()) << "ordinal " << entry.ordinal << " has no name";
        EXPECT_TRUE(actual.emplace(entry.ordinal, entry.name).second)
            << "ordinal " << entry.ordinal << " named twice";
    }
    EXPECT_EQ(ExpectedExports(), actual);
}

} // namespace
