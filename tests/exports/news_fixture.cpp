#include "news_fixture.h"

#include "harness/nvinfo_module.h"
#include "nvinfo.h"
#include "support/msxml_ids.h"

#include <shlobj.h>

#include <functional>
#include <memory>

namespace {

std::string AppDataFolder()
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, TRUE);
    return path;
}

// The module looks for the date override key once per process and, when it is
// missing, never again; so the key exists for the whole test program, and the
// state folder the module creates under APPDATA goes again when it was new.
class NewsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_stateRoot = AppDataFolder() + "\\Norvane";
        m_stateRootExisted = FileExists(m_stateRoot);
        m_registry.reset(new RegistrySandbox);
        m_registry->CreateKey(HKEY_CURRENT_USER, "Software\\Norvane\\NewsBand");
    }
    void TearDown() override
    {
        m_registry.reset();
        if (!m_stateRootExisted)
            RemoveTree(m_stateRoot);
    }

private:
    std::unique_ptr<RegistrySandbox> m_registry;
    std::string m_stateRoot;
    bool m_stateRootExisted = true;
};

const ::testing::Environment* const kNewsEnvironment =
    ::testing::AddGlobalTestEnvironment(new NewsEnvironment);

int g_feedCounter = 0;

std::string Narrow(const wchar_t* text, int length = -1)
{
    if (!text)
        return std::string();
    int bytes = WideCharToMultiByte(1252, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(1252, 0, text, length, &result[0], bytes, nullptr, nullptr);
    if (length < 0 && !result.empty())
        result.resize(result.size() - 1);
    return result;
}

BSTR Wide(const std::string& text)
{
    int length = MultiByteToWideChar(1252, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(1252, 0, text.c_str(), -1, &wide[0], length);
    return SysAllocString(wide.c_str());
}

std::string TakeBstr(BSTR text)
{
    std::string result = Narrow(text, static_cast<int>(SysStringLen(text)));
    SysFreeString(text);
    return result;
}

template <class T> void ReleaseLater(T*& p) { if (p) p->Release(); p = nullptr; }

std::string NodeText(IXMLDOMNode* node)
{
    BSTR text = nullptr;
    if (!node || FAILED(node->get_text(&text)))
        return "-";
    return TakeBstr(text);
}

std::string AttributeOf(IXMLDOMNode* node, const wchar_t* name)
{
    IXMLDOMElement* element = nullptr;
    std::string result = "(none)";
    if (SUCCEEDED(
            node->QueryInterface(nv::IID_IXMLDOMElement, reinterpret_cast<void**>(&element)))) {
        VARIANT value;
        VariantInit(&value);
        BSTR attributeName = SysAllocString(name);
        if (SUCCEEDED(element->getAttribute(attributeName, &value)) && value.vt == VT_BSTR)
            result = Narrow(value.bstrVal, static_cast<int>(SysStringLen(value.bstrVal)));
        SysFreeString(attributeName);
        VariantClear(&value);
        element->Release();
    }
    return result;
}

// Calls `visit` for each child of the news document's channel.
void ForEachChannelChild(const std::string& newsXml,
                         const std::function<void(IXMLDOMNode*, const std::string&)>& visit)
{
    CoInitialize(nullptr);
    IXMLDOMDocument* document = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_INPROC_SERVER,
                                     nv::IID_IXMLDOMDocument,
                                     reinterpret_cast<void**>(&document)));
    document->put_async(VARIANT_FALSE);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    BSTR text = Wide(newsXml);
    document->loadXML(text, &loaded);
    SysFreeString(text);
    EXPECT_EQ(VARIANT_TRUE, loaded) << newsXml;
    IXMLDOMNodeList* children = nullptr;
    BSTR query = SysAllocString(L"/rss/channel/*");
    if (SUCCEEDED(document->selectNodes(query, &children)) && children) {
        IXMLDOMNode* child = nullptr;
        for (int i = 0; i < 100000 && children->nextNode(&child) == S_OK && child; ++i) {
            BSTR name = nullptr;
            child->get_nodeName(&name);
            visit(child, TakeBstr(name));
            ReleaseLater(child);
        }
        ReleaseLater(children);
    }
    SysFreeString(query);
    document->Release();
}

IXMLDOMNode* SelectIn(IXMLDOMNode* node, const wchar_t* xpath)
{
    BSTR query = SysAllocString(xpath);
    IXMLDOMNode* found = nullptr;
    if (node->selectSingleNode(query, &found) != S_OK)
        found = nullptr;
    SysFreeString(query);
    return found;
}

// Runs `read` on the item with `guid`; "(no item)" when there is none.
std::string ReadItem(const std::string& newsXml, const std::string& guid,
                     const std::function<std::string(IXMLDOMNode*)>& read)
{
    std::string result = "(no item)";
    ForEachChannelChild(newsXml, [&](IXMLDOMNode* child, const std::string& name) {
        IXMLDOMNode* guidNode = name == "item" ? SelectIn(child, L"guid") : nullptr;
        if (guidNode && NodeText(guidNode) == guid && result == "(no item)")
            result = read(child);
        ReleaseLater(guidNode);
    });
    return result;
}

// Writes `content` byte for byte through the ANSI file functions, so paths in
// the code page work, and creates the missing folders below `base`.
void WriteBytes(const std::string& base, const std::string& path, const std::string& content)
{
    for (size_t at = path.find('\\', base.size() + 1); at != std::string::npos;
         at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

std::string DateText(int days, int hour, int minute)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wHour = now.wMinute = now.wSecond = now.wMilliseconds = 0;
    DATE date = 0;
    SystemTimeToVariantTime(&now, &date);
    SYSTEMTIME day;
    VariantTimeToSystemTime(date + days, &day);
    char text[32];
    if (hour < 0)
        wsprintfA(text, "%02d.%02d.%04d", day.wDay, day.wMonth, day.wYear);
    else
        wsprintfA(text, "%02d.%02d.%04d %02d:%02d", day.wDay, day.wMonth, day.wYear, hour, minute);
    return text;
}

DWORD TodaysOverrideCheckNumber()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wDay * 1000 + now.wMonth * 10 + now.wDayOfWeek + 1;
}

std::string NewsStateFile(const std::string& feedName)
{
    return AppDataFolder() + "\\Norvane\\Gemeinsame Dateien\\UpdateManager\\" + feedName + ".conf";
}

std::string ResultText(BSTR xml) { return xml ? TakeBstr(xml) : "(null)"; }

std::string Summary(const std::string& newsXml)
{
    if (newsXml == "(null)")
        return newsXml;
    std::string summary;
    ForEachChannelChild(newsXml, [&](IXMLDOMNode* child, const std::string& name) {
        std::string entry;
        if (name == "title") {
            entry = "T:" + NodeText(child);
        } else if (name == "item") {
            IXMLDOMNode* guid = SelectIn(child, L"guid");
            entry = NodeText(guid) + ":" + AttributeOf(child, L"read");
            ReleaseLater(guid);
        } else {
            entry = "?" + name;
        }
        summary += (summary.empty() ? "" : "|") + entry;
    });
    return summary;
}

std::string StateSummary(const std::string& stateXml)
{
    if (stateXml == "(no file)")
        return stateXml;
    std::string summary;
    ForEachChannelChild(stateXml, [&](IXMLDOMNode* record, const std::string& name) {
        std::string entry = name == "item" ? "" : name + ":";
        IXMLDOMNodeList* children = nullptr;
        BSTR query = SysAllocString(L"*");
        if (SUCCEEDED(record->selectNodes(query, &children)) && children) {
            IXMLDOMNode* child = nullptr;
            for (int i = 0; i < 100 && children->nextNode(&child) == S_OK && child; ++i) {
                BSTR childName = nullptr;
                child->get_nodeName(&childName);
                entry += (i ? " " : "") + TakeBstr(childName) + "=" + NodeText(child);
                ReleaseLater(child);
            }
            ReleaseLater(children);
        }
        SysFreeString(query);
        summary += (summary.empty() ? "" : "|") + entry;
    });
    return summary;
}

std::string ItemAttribute(const std::string& newsXml, const std::string& guid,
                          const std::string& name)
{
    BSTR wideName = Wide(name);
    std::string result = ReadItem(newsXml, guid, [&](IXMLDOMNode* item) {
        return AttributeOf(item, wideName);
    });
    SysFreeString(wideName);
    return result;
}

std::string ItemChildText(const std::string& newsXml, const std::string& guid,
                          const std::string& child)
{
    BSTR wideChild = Wide(child);
    std::string result = ReadItem(newsXml, guid, [&](IXMLDOMNode* item) {
        IXMLDOMNode* found = SelectIn(item, wideChild);
        std::string text = NodeText(found);
        ReleaseLater(found);
        return text;
    });
    SysFreeString(wideChild);
    return result;
}

std::string TakeDocumentXml(IDispatch* document)
{
    if (!document)
        return "(null)";
    IXMLDOMDocument* xmlDocument = nullptr;
    std::string result = "(no IXMLDOMDocument)";
    if (SUCCEEDED(document->QueryInterface(nv::IID_IXMLDOMDocument,
                                           reinterpret_cast<void**>(&xmlDocument)))) {
        BSTR xml = nullptr;
        xmlDocument->get_xml(&xml);
        result = ResultText(xml);
        xmlDocument->Release();
    }
    document->Release();
    return result;
}

NewsFixture::NewsFixture()
{
    m_registry.SetString(HKEY_CURRENT_USER, "Software\\NvinfoNewsTest", "Daten",
                         m_temp.File("daten"));
    CreateDirectoryA(m_temp.File("daten").c_str(), nullptr);
}

NewsFixture::~NewsFixture()
{
    for (const std::string& stateFile : m_stateFiles) {
        SetFileAttributesA(stateFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(stateFile.c_str());
    }
}

std::string NewsFixture::WriteFeed(const std::string& name, const std::string& channelContent,
                                   const std::string& subfolder)
{
    std::string unique = "nvt" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++g_feedCounter) + "-" + name;
    m_stateFiles.push_back(NewsStateFile(unique));
    std::string path = m_temp.File(subfolder + "\\" + unique);
    WriteBytes(m_temp.Path(), path,
               "<?xml version='1.0' encoding='ISO-8859-1'?>\n<rss><channel>" + channelContent +
                   "</channel></rss>");
    return path;
}

std::string NewsFixture::FolderValue(const std::string& subfolder)
{
    std::string valueName = "Ordner-" + subfolder;
    m_registry.SetString(HKEY_CURRENT_USER, "Software\\NvinfoNewsTest", valueName,
                         m_temp.File(subfolder));
    return "HKCU\\Software\\NvinfoNewsTest\\" + valueName;
}

std::string NewsFixture::Entry(const std::string& feedPath)
{
    size_t slash = feedPath.find_last_of('\\');
    std::string folder =
        feedPath.substr(m_temp.Path().size() + 1, slash - m_temp.Path().size() - 1);
    return "<NvFeed><Url>http://news.norvane.example/feeds/" + feedPath.substr(slash + 1) +
           "</Url><RegistryDestination>" + FolderValue(folder) + "</RegistryDestination></NvFeed>";
}

void NewsFixture::WriteIndex(const std::string& product, const std::string& entries,
                             const std::string& dataFolder)
{
    WriteBytes(m_temp.Path(), m_temp.File(dataFolder + "\\" + product + ".feed"),
               "<?xml version='1.0' encoding='ISO-8859-1'?>\n<NvFeeds>" + entries + "</NvFeeds>");
}

void NewsFixture::WriteState(const std::string& feedPath, const std::string& content)
{
    std::string stateFile = NewsStateFile(feedPath.substr(feedPath.find_last_of('\\') + 1));
    WriteBytes(stateFile.substr(0, 2), stateFile, content);
}

std::string NewsFixture::StateOf(const std::string& feedPath) const
{
    std::string stateFile = NewsStateFile(feedPath.substr(feedPath.find_last_of('\\') + 1));
    return FileExists(stateFile) ? ReadWholeFile(stateFile) : "(no file)";
}

std::string NewsFixture::NewsXml(const std::string& product, const std::string& category)
{
    auto getNewsXml3 = NvinfoModule::Proc<PFN_NV_GETNEWSXML3>("GetNewsXml3");
    return ResultText(getNewsXml3(product.c_str(), category.c_str(), kDataValue.c_str()));
}

std::string NewsFixture::FileNews(const std::string& feedPath, const std::string& category,
                                  int includeRead, int includeHidden, int checkConstraints)
{
    auto fromFileEx = NvinfoModule::Proc<PFN_NV_GETNEWSFROMFILEEX>(NVINFO_GETNEWSFROMFILEEX);
    IDispatch* document = nullptr;
    fromFileEx(feedPath.c_str(), category.c_str(), &document, includeRead, includeHidden,
               checkConstraints);
    return TakeDocumentXml(document);
}
