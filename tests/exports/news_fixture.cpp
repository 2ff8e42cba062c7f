#include "news_fixture.h"

#include "harness/nvinfo_module.h"
#include "nvinfo.h"
#include "xml_outline.h"

#include <shlobj.h>

#include <fstream>
#include <memory>
#include <regex>

namespace {

const std::string kTestKey = "Software\\NvinfoNewsTest";
// Feeds and indexes name code page paths.
const std::string kDeclaration = "<?xml version='1.0' encoding='ISO-8859-1'?>\n";

std::string StateFolder()
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, TRUE);
    return std::string(path) + "\\Norvane";
}

// The module looks for the date override key once per process and never again
// when it is missing, so the key exists for the whole program; the state
// folder the module makes under APPDATA goes again when it was new.
class NewsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_rootExisted = FileExists(StateFolder());
        m_registry.reset(new RegistrySandbox);
        m_registry->CreateKey(HKEY_CURRENT_USER, "Software\\Norvane\\NewsBand");
    }
    void TearDown() override
    {
        m_registry.reset();
        if (!m_rootExisted)
            RemoveTree(StateFolder());
    }

private:
    std::unique_ptr<RegistrySandbox> m_registry;
    bool m_rootExisted = true;
};

const ::testing::Environment* const kNewsEnvironment =
    ::testing::AddGlobalTestEnvironment(new NewsEnvironment);

int g_feedCounter = 0;

std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

} // namespace

std::string Item(const std::string& guid, const std::string& inner)
{
    return "<item><guid>" + guid + "</guid>" + inner + "</item>";
}

std::string Summary(const std::string& outline)
{
    if (outline == "(null)")
        return outline;
    static const std::regex entry(
        "<title>([^<]*)</title>|<item[^>]* read=\"([^\"]*)\"[^>]*>\\s*(?:<guid>([^<]*)</guid>)?");
    std::string summary;
    for (std::sregex_iterator at(outline.begin(), outline.end(), entry), end; at != end; ++at) {
        const std::smatch& found = *at;
        summary += summary.empty() ? "" : "|";
        summary += found[1].matched
                       ? "T:" + found[1].str()
                       : (found[3].matched ? found[3].str() : "-") + ":" + found[2].str();
    }
    return summary;
}

std::string ItemAttribute(const std::string& outline, const std::string& guid,
                          const std::string& name)
{
    std::smatch found;
    std::regex_search(
        outline, found,
        std::regex("<item[^>]* " + name + "=\"([^\"]*)\"[^>]*>\\s*<guid>" + guid + "</guid>"));
    return found.empty() ? "(none)" : found[1].str();
}

NewsFixture::~NewsFixture()
{
    for (const std::string& feed : m_feeds)
        DeleteFileA(StatePath(feed).c_str());
}

std::string NewsFixture::WriteFeed(const std::string& channel, const std::string& folder)
{
    std::string name = "nvt" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++g_feedCounter) + ".xml";
    m_feeds.push_back(name);
    return m_temp.Write(folder + "\\" + name,
                        kDeclaration + "<rss><channel>" + channel + "</channel></rss>");
}

std::string NewsFixture::FolderValue(const std::string& folder)
{
    m_registry.SetString(HKEY_CURRENT_USER, kTestKey, folder, m_temp.File(folder));
    return "HKCU\\" + kTestKey + "\\" + folder;
}

std::string NewsFixture::Entry(const std::string& feed)
{
    size_t start = m_temp.Path().size() + 1;
    std::string folder = feed.substr(start, feed.find_last_of('\\') - start);
    return "<NvFeed><Url>http://news.example/a/" + NameOf(feed) + "</Url><RegistryDestination>" +
           FolderValue(folder) + "</RegistryDestination></NvFeed>";
}

void NewsFixture::WriteIndex(const std::string& product, const std::string& entries)
{
    m_temp.Write("daten\\" + product + ".feed",
                 kDeclaration + "<NvFeeds>" + entries + "</NvFeeds>");
}

std::string NewsFixture::StatePath(const std::string& feed) const
{
    return StateFolder() + "\\Gemeinsame Dateien\\UpdateManager\\" + NameOf(feed) + ".conf";
}

void NewsFixture::WriteState(const std::string& feed, const std::string& content)
{
    std::string path = StatePath(feed);
    SHCreateDirectoryExA(nullptr, path.substr(0, path.find_last_of('\\')).c_str(), nullptr);
    std::ofstream(path, std::ios::binary) << content;
}

std::string NewsFixture::State(const std::string& feed) const
{
    std::string path = StatePath(feed);
    if (!FileExists(path))
        return "(no file)";
    std::string outline = XmlTextOutline(ReadWholeFile(path));
    size_t begin = outline.find("<channel>") + 9;
    return outline.substr(begin, outline.rfind("</channel>") - begin);
}

std::string NewsFixture::NewsXml(const std::string& product, const std::string& category)
{
    auto getNewsXml3 = NvinfoModule::Proc<PFN_NV_GETNEWSXML3>("GetNewsXml3");
    BSTR xml = getNewsXml3(product.c_str(), category.c_str(), m_dataValue.c_str());
    return xml ? XmlTextOutline(TakeBstrText(xml)) : "(null)";
}

std::string NewsFixture::FileNews(const std::string& feed, const std::string& category, int read,
                                  int hidden, int constraints)
{
    auto fromFileEx = NvinfoModule::Proc<PFN_NV_GETNEWSFROMFILEEX>(NVINFO_GETNEWSFROMFILEEX);
    IDispatch* document = nullptr;
    fromFileEx(feed.c_str(), category.c_str(), &document, read, hidden, constraints);
    bool declaration = false;
    return TakeDocumentOutline(document, &declaration);
}

long NewsFixture::SetState(const std::string& feed, const std::string& guid, int read, int hidden)
{
    auto setState = NvinfoModule::Proc<PFN_NV_SETNEWSITEMSTATE>("SetNewsItemState");
    return setState(feed.c_str(), guid.c_str(), read, hidden);
}
