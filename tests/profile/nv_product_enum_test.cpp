// Installed products as subkeys of one key below HKEY_LOCAL_MACHINE.
#include "profile/nv_product_enum.h"

#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

namespace {

std::string Describe(const ProductRecord& r)
{
    return r.SubKey + "|" + r.Name + "|" + r.Config + "|" + r.Exe + "|" + r.Leg + "|" + r.Sysinfo + "|" + r.NDC;
}

TEST(NvProductEnum, ListsEveryProductWithItsValues)
{
    const std::string base = "Software\\NvinfoProductEnumTest";
    RegistrySandbox registry;
    ProductRecord record;
    EXPECT_FALSE(CNvProductEnum(base).GetFirst(record)) << "missing base key";
    registry.CreateKey(HKEY_LOCAL_MACHINE, base);
    EXPECT_FALSE(CNvProductEnum(base).GetFirst(record)) << "no products";
    for (const char* name : {"Name", "Config", "Exe", "Leg", "Sysinfo", "NDC"})
        registry.SetString(HKEY_LOCAL_MACHINE, base + "\\QDPRO", name, std::string("v") + name);
    registry.SetString(HKEY_LOCAL_MACHINE, base + "\\ZPARTIAL", "NDC", "z.ndc");
    CNvProductEnum products(base);
    ASSERT_TRUE(products.GetFirst(record));
    EXPECT_EQ("QDPRO|vName|vConfig|vExe|vLeg|vSysinfo|vNDC", Describe(record));
    ASSERT_TRUE(products.GetNext(record));
    EXPECT_EQ("ZPARTIAL||||||z.ndc", Describe(record));
    EXPECT_FALSE(products.GetNext(record));
    EXPECT_EQ("ZPARTIAL||||||z.ndc", Describe(record)) << "a failed step leaves the record";
    ASSERT_TRUE(products.GetFirst(record));
    EXPECT_EQ("QDPRO", record.SubKey);
}

} // namespace
