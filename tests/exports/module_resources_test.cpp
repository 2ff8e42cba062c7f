// The module's version resource and manifest, read back the way installers
// and the loader read them.
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<BYTE> VersionInfo()
{
    std::string path = OutputFile("nvinfo.dll");
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    std::vector<BYTE> data(size);
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        data.clear();
    return data;
}

std::string StringValue(std::vector<BYTE>& info, const char* name)
{
    char* text = nullptr;
    UINT length = 0;
    std::string block = std::string("\\StringFileInfo\\040704b0\\") + name;
    if (!VerQueryValueA(info.data(), block.c_str(), reinterpret_cast<void**>(&text), &length))
        return "(missing)";
    return text;
}

TEST(ModuleResources, VersionIs18_0_0_162InGerman)
{
    std::vector<BYTE> info = VersionInfo();
    ASSERT_FALSE(info.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(0, 18), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(162, 0), fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(DWORD(VFT_DLL), fixed->dwFileType);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(1031, translation[0]);

    EXPECT_EQ("18.0.0.162", StringValue(info, "FileVersion"));
    EXPECT_EQ("18.0.0.162", StringValue(info, "ProductVersion"));
    EXPECT_EQ("nvinfo.dll", StringValue(info, "OriginalFilename"));
    EXPECT_EQ("Norvane", StringValue(info, "CompanyName"));
}

TEST(ModuleResources, ManifestAsksForAsInvokerWithoutUiAccessAndIsDpiAware)
{
    HMODULE module = NvinfoModule::Handle();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, resource);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    std::string manifest(data, SizeofResource(module, resource));
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
    EXPECT_NE(std::string::npos, manifest.find("uiAccess=\"false\""));
    EXPECT_NE(std::string::npos, manifest.find("<dpiAware"));
    EXPECT_NE(std::string::npos, manifest.find(">true</dpiAware>"));
}

} // namespace
