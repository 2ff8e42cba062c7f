// Installed products as subkeys of one key below HKEY_LOCAL_MACHINE.
#include "profile/nv_product_enum.h"

#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

namespace {

const char* const kProductsKey = "Software\\NvinfoProductEnumTest";

TEST(NvProductEnum, ListsEveryProductWithItsValues)
{
    RegistrySandbox registry;
    registry.CreateKey(HKEY_LOCAL_MACHINE, kProductsKey);
    const std::string full = std::string(kProductsKey) + "\\QDPRO";
    registry.SetString(HKEY_LOCAL_MACHINE, full, "Name", "Quick Pro");
    registry.SetString(HKEY_LOCAL_MACHINE, full, "Config", "cfg");
    registry.SetString(HKEY_LOCAL_MACHINE, full, "Exe", "qd.exe");
    registry.SetString(HKEY_LOCAL_MACHINE, full, "Leg", "leg");
    registry.SetString(HKEY_LOCAL_MACHINE, full, "Sysinfo", "sys");
    registry.SetString(HKEY_LOCAL_MACHINE, full, "NDC", "qdpro.ndc");
    registry.SetString(HKEY_LOCAL_MACHINE, std::string(kProductsKey) + "\\ZPARTIAL", "NDC", "z.ndc");

    CNvProductEnum products(kProductsKey);
    ProductRecord record;
    ASSERT_TRUE(products.GetFirst(record));
    EXPECT_EQ("Quick Pro", record.Name);
    EXPECT_EQ("cfg", record.Config);
    EXPECT_EQ("qd.exe", record.Exe);
    EXPECT_EQ("leg", record.Leg);
    EXPECT_EQ("sys", record.Sysinfo);
    EXPECT_EQ("qdpro.ndc", record.NDC);
    EXPECT_EQ("QDPRO", record.SubKey);
    ASSERT_TRUE(products.GetNext(record));
    EXPECT_EQ("ZPARTIAL", record.SubKey);
    EXPECT_EQ("z.ndc", record.NDC);
    EXPECT_EQ("", record.Name);
    EXPECT_EQ("", record.Exe);
    EXPECT_FALSE(products.GetNext(record));
    EXPECT_EQ("ZPARTIAL", record.SubKey) << "a failed step leaves the record";
    ASSERT_TRUE(products.GetFirst(record));
    EXPECT_EQ("QDPRO", record.SubKey);
}

TEST(NvProductEnum, MissingOrEmptyBaseKeyHasNoProducts)
{
    RegistrySandbox registry;
    registry.CreateKey(HKEY_LOCAL_MACHINE, kProductsKey);
    ProductRecord record;
    CNvProductEnum empty(kProductsKey);
    EXPECT_FALSE(empty.GetFirst(record));
    CNvProductEnum missing(std::string(kProductsKey) + "\\Missing");
    EXPECT_FALSE(missing.GetFirst(record));
}

} // namespace
