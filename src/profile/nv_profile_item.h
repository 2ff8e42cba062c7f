// Profile items: one named string setting whose place is a single path text,
// "HKLM\key\value", "HKCU\key\value" or "INI\section\key". Items read and write
// through the registry or the private-profile functions. These paths are not
// the registry path values or key paths of frame/registry_path.h.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

class CNvProfileMap;

class CNvProfileItem {
public:
    enum Location { kLocationNone = 0, kLocationHklm = 1, kLocationHkcu = 2, kLocationIni = 3 };

    CNvProfileItem();
    virtual ~CNvProfileItem();
    CNvProfileItem(const CNvProfileItem&) = delete;
    CNvProfileItem& operator=(const CNvProfileItem&) = delete;

    virtual BOOL Read();
    virtual BOOL Write();

    // A null path is the empty path.
    void Init(const char* path, BOOL autoRead);
    void SetAbsolute(BOOL absolute) { m_bAbsolute = absolute; }

    std::string GetFullName() const;
    // Null when the key cannot be opened; KEY_WRITE creates missing keys.
    HKEY OpenKey(REGSAM access) const;
    std::string GetBasePath() const;

    BOOL m_bAutoRead = FALSE;
    int m_nLocation = kLocationNone;
    std::string m_strKey;
    std::string m_strValueName;
    BOOL m_bAbsolute = FALSE;
    CNvProfileMap* m_pOwner = nullptr;
};

class CNvProfileStrBase : public CNvProfileItem {
public:
    CNvProfileStrBase();
    ~CNvProfileStrBase() override;

    BOOL Read() override;
    BOOL Write() override;

    // Reads again first when the item was made with auto-read.
    std::string GetValue();
    void SetValue(const std::string& value) { m_strValue = value; }

    std::string m_strDefault;
    std::string m_strValue;

private:
    BOOL ReadRegistry();
    BOOL ReadIni();
    std::string IniSection() const;
};

class CNvProfileString : public CNvProfileStrBase {
public:
    CNvProfileString();
    CNvProfileString(const char* path, const std::string& defaultValue, BOOL autoRead);
};

// Items keyed by full name, owned by the map, sharing one base path.
class CNvProfileMap {
public:
    CNvProfileMap() = default;
    explicit CNvProfileMap(const std::string& basePath) : m_strBasePath(basePath) {}
    CNvProfileMap(const CNvProfileMap&) = delete;
    CNvProfileMap& operator=(const CNvProfileMap&) = delete;

    // Makes an item of class T (CNvProfileItem or derived), adds it under its
    // full name and returns it; an item of the same full name is replaced.
    template <class T> T* AddItem(const char* path, const std::string& defaultValue, BOOL autoRead)
    {
        return static_cast<T*>(Add(std::make_unique<T>(), path, defaultValue, autoRead));
    }
    // Removes the item and deletes it.
    void RemoveItem(CNvProfileItem* item);
    // Read of every item, results not looked at.
    void ReadAll();

    std::string m_strBasePath;

private:
    CNvProfileItem* Add(std::unique_ptr<CNvProfileItem> item, const char* path,
                        const std::string& defaultValue, BOOL autoRead);

    std::map<std::string, std::unique_ptr<CNvProfileItem>> m_items;
};
