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

    const std::string& BaseKey() const { return m_baseKey; }
    // Writes an NDC file (INI text) into the test folder; returns its path.
    std::string WriteNdc(const std::string& fileName, const std::string& content);
    // Registers a product subkey with its "Name" and "NDC" values.
    void Register(const std::string& subKey, const std::string& name, const std::string& ndcPath);
    // A path in the test folder that no file has.
    std::string MissingFile(const std::string& fileName) const { return m_files.File(fileName); }
    RegistrySandbox& Registry() { return m_registry; }

private:
    std::string m_baseKey;
    TempFolder m_files;
    RegistrySandbox m_registry;
};

// A header section of an NDC file; keys with an empty value are left out.
std::string NdcHeader(const std::string& redirUrl, const std::string& localUrl,
                      const std::string& push);
