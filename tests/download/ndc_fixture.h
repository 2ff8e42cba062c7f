// Shared by the NDC model tests: a key as the platform reads it, an item's outline, row keys.
#pragma once

#include "download/download_item_group.h"
#include "harness/temp_folder.h"

#include <windows.h>
#include <string>

inline std::string ReadNdcKey(const std::string& path, const char* section, const char* key)
{
    char buffer[1024] = {};
    GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof buffer, path.c_str());
    return buffer;
}

// "section", for a group "section(member:want,member:want)", nested groups alike.
inline std::string Outline(CDownloadItem* item)
{
    auto* group = dynamic_cast<CDownloadItemGroup*>(item);
    if (!group)
        return item->m_strSection;
    std::string text = item->m_strSection + "(";
    for (const auto& member : group->Members()) {
        const bool inner = dynamic_cast<CDownloadItemGroup*>(member.get()) != nullptr;
        text += (text.back() == '(' ? "" : ",") + Outline(member.get()) +
                (inner ? "" : ":" + std::to_string(member->GetWantDownload()));
    }
    return text + ")";
}

// Each "$" of a table row replaced by the registry path of the test's own key.
inline std::string WithKey(std::string text, const std::string& path)
{
    for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + path.size()))
        text.replace(at, 1, path);
    return text;
}
