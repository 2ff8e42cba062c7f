// The module's version resource and manifest, read back the way installers
// and the loader read them.
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ModuleResources, GermanVersion18_0_0_162AndAnAsInvokerManifest)
{
    const std::string path = OutputFile("nvinfo.dll");
    std::vector<BYTE> info(GetFileVersionInfoSizeA(path.c_str(), nullptr));
    ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(path.c_str(), 0, info.size(), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    WORD* language = nullptr;
    const char* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(0, 18), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(162, 0), fixed->dwProductVersionLS);
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&language), &length));
    EXPECT_EQ(1031, language[0]);
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040704b0\\FileVersion",
                               reinterpret_cast<void**>(const_cast<char**>(&text)), &length));
    EXPECT_STREQ("18.0.0.162", text);

    HMODULE module = NvinfoModule::Handle();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, resource);
    const std::string manifest(
        static_cast<const char*>(LockResource(LoadResource(module, resource))),
        SizeofResource(module, resource));
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
}
