// Installed products for one test: product keys below an HKEY_LOCAL_MACHINE
// base key with their "Name" and "NDC" values, and NDC files in a folder of
// the test's own. Keys, values and files go again with the object.
#pragma once

#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <string>

class InstalledProducts {
public:
    explicit InstalledProducts(const std::string& baseKey) : m_baseKey(baseKey) {}

    std::string WriteNdc(const std::string& fileName, const std::string& content)
    {
        return m_files.Write(fileName, content);
    }
    void Register(const std::string& subKey, const std::string& name, const std::string& ndcPath)
    {
        m_registry.SetString(HKEY_LOCAL_MACHINE, m_baseKey + "\\" + subKey, "Name", name);
        m_registry.SetString(HKEY_LOCAL_MACHINE, m_baseKey + "\\" + subKey, "NDC", ndcPath);
    }
    std::string MissingFile(const std::string& fileName) const { return m_files.File(fileName); }

private:
    std::string m_baseKey;
    TempFolder m_files;
    RegistrySandbox m_registry;
};

// A header section of an NDC file; keys with an empty value are left out.
inline std::string NdcHeader(const std::string& redirUrl, const std::string& localUrl,
                             const std::string& push)
{
    return "[Header]\r\nName=Kopf\r\nDateVer=1\r\n" +
           (redirUrl.empty() ? "" : "RedirURL=" + redirUrl + "\r\n") +
           (localUrl.empty() ? "" : "LocalURL=" + localUrl + "\r\n") +
           (push.empty() ? "" : "Push=" + push + "\r\n") + "\r\n";
}
