// GetNewsXml against its floor: loading the product's index, its 20 feeds and
// their state files, and serialising a document of the output's size. A third
// of the items are filtered out by dates, constraints and marks. Run at two
// sizes to see the growth.
#include "bench_support.h"
#include "harness/module_paths.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "news/news_files.h"
#include "nvinfo.h"
#include "support/bstr_text.h"
#include "xml/nv_xml_document.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kFeeds = 20;
const int kTurns = 11;
const char kDataKey[] = "Software\\NvinfoNewsBench";

std::string StateRoot()
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, TRUE);
    return std::string(path) + "\\Norvane";
}

std::string StateFolder() { return StateRoot() + "\\Gemeinsame Dateien\\UpdateManager"; }

void WriteText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Item i of a feed: every ninth is past its end, not yet due, or ruled out by
// its constraint; others carry a true constraint, a read or a hidden mark.
std::string FeedItem(int feed, int i)
{
    std::string guid = "f" + std::to_string(feed) + "-" + std::to_string(i);
    std::string extra;
    switch (i % 9) {
    case 0:
        extra = "<bis>01.01.2001</bis>";
        break;
    case 1:
        extra = "<von>31.12.2099 18:00</von>";
        break;
    case 2:
        extra = "<if><not><true/></not></if>";
        break;
    case 5:
        extra = "<if><osversion from=\"win2000\"/></if>";
        break;
    case 6:
        extra = "<von>01.01.2001</von><bis>31.12.2099</bis>";
        break;
    default:
        break;
    }
    return "<item><guid>" + guid + "</guid><title>Meldung " + std::to_string(i) +
           "</title><category>Allgemein</category><description>  Text der Meldung " +
           std::to_string(i) + " mit etwas Inhalt.  </description>" + extra + "</item>";
}

struct Data {
    std::vector<std::string> feeds;
    std::vector<std::string> states;
};

Data WriteData(const TempFolder& temp, RegistrySandbox& registry, int itemsPerFeed)
{
    Data data;
    registry.Set(HKEY_CURRENT_USER, kDataKey, "Daten", temp.Path());
    registry.Set(HKEY_CURRENT_USER, kDataKey, "Feeds", temp.Path());
    std::string index = "<NvFeeds>";
    for (int feed = 0; feed < kFeeds; ++feed) {
        std::string name = "nvbench-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(itemsPerFeed) + "-" + std::to_string(feed) + ".xml";
        std::string content = "<?xml version='1.0' encoding='utf-8'?><rss><channel><title>Feed " +
                              std::to_string(feed) + "</title>";
        std::string state = "<?xml version='1.0' encoding='utf-8'?><rss><channel>";
        for (int i = 0; i < itemsPerFeed; ++i) {
            content += FeedItem(feed, i);
            std::string guid = "f" + std::to_string(feed) + "-" + std::to_string(i);
            if (i % 9 == 3 || i % 9 == 4 || i % 9 == 7)
                state += "<item><guid>" + guid + "</guid><read>1</read>" +
                         (i % 9 == 4 ? "<dontshow>1</dontshow>" : "") + "</item>";
        }
        data.feeds.push_back(temp.File(name));
        data.states.push_back(StateFolder() + "\\" + name + ".conf");
        WriteText(data.feeds.back(), content + "</channel></rss>");
        WriteText(data.states.back(), state + "</channel></rss>");
        index += "<NvFeed><Url>http://bench/" + name + "</Url><RegistryDestination>HKCU\\" +
                 kDataKey + "\\Feeds</RegistryDestination></NvFeed>";
    }
    WriteText(temp.File("bench.feed"), index + "</NvFeeds>");
    return data;
}

// The floor: loading the index, every feed and its state file, and
// serialising a document of the output's size.
void Floor(const TempFolder& temp, const Data& data, const CNvXmlDocument& output)
{
    CNvXmlDocument index;
    index.Load(temp.File("bench.feed"));
    for (int feed = 0; feed < kFeeds; ++feed) {
        CNvXmlDocument document;
        document.Load(data.feeds[feed]);
        CNvXmlDocument state;
        state.Load(data.states[feed]);
    }
    BSTR xml = nullptr;
    output.Document()->get_xml(&xml);
    SysFreeString(xml);
}

void Measure(bench::Report& report, PFN_NV_GETNEWSXML3 getNewsXml3, int itemsPerFeed)
{
    TempFolder temp;
    RegistrySandbox registry;
    Data data = WriteData(temp, registry, itemsPerFeed);
    std::string dataValue = std::string("HKCU\\") + kDataKey + "\\Daten";
    BSTR xml = getNewsXml3("bench", "", dataValue.c_str());
    CNvXmlDocument output;
    output.LoadXml(nv::BstrToAnsi(xml));
    SysFreeString(xml);
    size_t length = 0;
    bench::Figures figures = bench::MedianOf(
        kTurns, [] {},
        [&] {
            BSTR text = getNewsXml3("bench", "", dataValue.c_str());
            length = SysStringLen(text);
            SysFreeString(text);
        },
        [&] { Floor(temp, data, output); });
    std::string note = std::to_string(length) + " characters";
    report.Add("news", kFeeds * itemsPerFeed, figures, note.c_str());
    for (const std::string& state : data.states)
        DeleteFileA(state.c_str());
}

} // namespace

int main()
{
    CoInitialize(nullptr);
    bool stateRootExisted = FileExists(StateRoot());
    nv::CreateFolderChain(StateFolder());
    HMODULE module = LoadLibraryA(OutputFile("nvinfo.dll").c_str());
    auto getNewsXml3 = reinterpret_cast<PFN_NV_GETNEWSXML3>(
        reinterpret_cast<void*>(GetProcAddress(module, "GetNewsXml3")));
    if (!getNewsXml3) {
        std::printf("nvinfo.dll or GetNewsXml3 not found\n");
        return 1;
    }
    {
        bench::Report report("GetNewsXml", "floor");
        Measure(report, getNewsXml3, 250);
        Measure(report, getNewsXml3, 500);
    }
    if (!stateRootExisted)
        RemoveTree(StateRoot());
    return 0;
}
