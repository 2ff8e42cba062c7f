#include "installed_products.h"

#include <windows.h>

std::string InstalledProducts::WriteNdc(const std::string& fileName, const std::string& content)
{
    return m_files.Write(fileName, content);
}

void InstalledProducts::Register(const std::string& subKey, const std::string& name,
                                 const std::string& ndcPath)
{
    const std::string key = m_baseKey + "\\" + subKey;
    m_registry.SetString(HKEY_LOCAL_MACHINE, key, "Name", name);
    m_registry.SetString(HKEY_LOCAL_MACHINE, key, "NDC", ndcPath);
}

std::string NdcHeader(const std::string& redirUrl, const std::string& localUrl,
                      const std::string& push)
{
    std::string header = "[Header]\r\nName=Kopf\r\nDateVer=1\r\n";
    if (!redirUrl.empty())
        header += "RedirURL=" + redirUrl + "\r\n";
    if (!localUrl.empty())
        header += "LocalURL=" + localUrl + "\r\n";
    if (!push.empty())
        header += "Push=" + push + "\r\n";
    return header + "\r\n";
}
