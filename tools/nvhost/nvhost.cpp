// nvhost: calls any export of nvinfo.dll by its exported name with arguments
// from the command line and prints what comes back. Message boxes the module
// shows are printed to stderr and answered, so nothing waits for a user.
//
//   nvhost --list                      the export table
//   nvhost [--dll PATH] NAME ARGS...   call one export
//
// A text argument "-null-" passes a null pointer.
#include "dialog_capture.h"
#include "export_table.h"
#include "nvinfo.h"
#include "support/bstr_text.h"
#include "support/msxml_ids.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Args {
    std::vector<std::string> values;
    const char* Text(size_t i) const { return values[i] == "-null-" ? nullptr : values[i].c_str(); }
    int Int(size_t i) const { return static_cast<int>(std::strtol(values[i].c_str(), nullptr, 0)); }
};

struct Command {
    const char* name;
    const char* usage;
    size_t argCount;
    std::function<void(void*, const Args&)> call;
};

void PrintBstr(BSTR text)
{
    if (!text)
        std::printf("result: (null)\n");
    else
        std::printf("result:\n%s\n", nv::BstrToAnsi(text).c_str());
    SysFreeString(text);
}

void PrintHresult(long hr) { std::printf("result: 0x%08lX\n", static_cast<unsigned long>(hr)); }
void PrintInt(long value) { std::printf("result: %ld\n", value); }

void PrintDocument(IUnknown* document)
{
    if (!document) {
        std::printf("document: (null)\n");
        return;
    }
    IXMLDOMNode* node = nullptr;
    if (SUCCEEDED(document->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(&node)))) {
        BSTR xml = nullptr;
        node->get_xml(&xml);
        std::printf("document:\n%s\n", nv::BstrToAnsi(xml).c_str());
        SysFreeString(xml);
        node->Release();
    }
    document->Release();
}

// The root element of `xml` loaded into a DOM document of the caller's own.
IXMLDOMNode* NodeFromText(const char* xml)
{
    IXMLDOMDocument* document = nullptr;
    if (FAILED(CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IXMLDOMDocument, reinterpret_cast<void**>(&document))))
        return nullptr;
    int wide = MultiByteToWideChar(CP_ACP, 0, xml, -1, nullptr, 0);
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(wide > 0 ? wide - 1 : 0));
    MultiByteToWideChar(CP_ACP, 0, xml, -1, text, wide);
    VARIANT_BOOL ok = VARIANT_FALSE;
    document->loadXML(text, &ok);
    SysFreeString(text);
    IXMLDOMElement* root = nullptr;
    document->get_documentElement(&root);
    document->Release();
    return root;
}

void EvaluateNode(void* proc, const Args& args)
{
    IXMLDOMNode* node = NodeFromText(args.values[0].c_str());
    PrintInt(reinterpret_cast<PFN_NV_EVALUATENODE>(proc)(node));
    if (node)
        node->Release();
}

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {NVINFO_CHECKCONSTRAINT_CPP, "XML", 1,
         [](void* p, const Args& a) {
             PrintInt(reinterpret_cast<PFN_NV_CHECKCONSTRAINT>(p)(a.Text(0)));
         }},
        {NVINFO_EVALUATENODEOSVERSION, "XML", 1, EvaluateNode},
        {NVINFO_EVALUATENODEPRODUCT, "XML", 1, EvaluateNode},
        {NVINFO_EVALUATENODEREGENTRY, "XML", 1, EvaluateNode},
        {"GetDaysSinceLastCheck", "", 0,
         [](void* p, const Args&) { PrintInt(reinterpret_cast<PFN_NV_NOARGS>(p)()); }},
        {"GetNdcToDownload2", "FILTER PUSHONLY", 2,
         [](void* p, const Args& a) {
             PrintBstr(reinterpret_cast<PFN_NV_GETNDCTODOWNLOAD2>(p)(a.Text(0), a.Int(1)));
         }},
        {"GetNdcToDownload3", "FILTER PUSHONLY BASEKEY", 3,
         [](void* p, const Args& a) {
             PrintBstr(
                 reinterpret_cast<PFN_NV_GETNDCTODOWNLOAD3>(p)(a.Text(0), a.Int(1), a.Text(2)));
         }},
        {"GetNews", "PRODUCT CATEGORY", 2,
         [](void* p, const Args& a) {
             IDispatch* document = nullptr;
             PrintHresult(reinterpret_cast<PFN_NV_GETNEWS>(p)(a.Text(0), a.Text(1), &document));
             PrintDocument(document);
         }},
        {NVINFO_GETNEWSDOCUMENT, "PRODUCT CATEGORY", 2,
         [](void* p, const Args& a) {
             IXMLDOMDocument2* document = nullptr;
             PrintHresult(
                 reinterpret_cast<PFN_NV_GETNEWSDOCUMENT>(p)(a.Text(0), a.Text(1), &document));
             PrintDocument(document);
         }},
        {"GetNewsXml3", "PRODUCT CATEGORY DATAFOLDERPATHVALUE", 3,
         [](void* p, const Args& a) {
             PrintBstr(reinterpret_cast<PFN_NV_GETNEWSXML3>(p)(a.Text(0), a.Text(1), a.Text(2)));
         }},
        {"GetNewsXml", "PRODUCT CATEGORY", 2,
         [](void* p, const Args& a) {
             PrintBstr(reinterpret_cast<PFN_NV_GETNEWSXML>(p)(a.Text(0), a.Text(1)));
         }},
        {"GetUpdateInfos", "PRODUCT", 1,
         [](void* p, const Args& a) {
             int news = 0, updates = 0, days = 0;
             IDispatch* document = nullptr;
             PrintInt(reinterpret_cast<PFN_NV_GETUPDATEINFOS>(p)(a.Text(0), &news, &updates, &days,
                                                                 &document));
             std::printf("news: %d\nupdates: %d\ndays: %d\n", news, updates, days);
             PrintDocument(document);
         }},
        {"GetUpdateMode", "", 0,
         [](void* p, const Args&) { PrintInt(reinterpret_cast<PFN_NV_NOARGS>(p)()); }},
        {"GetUpdates", "OLDNDC NEWNDC ALL FOURTH DOWNLOADERONLY", 5,
         [](void* p, const Args& a) {
             PrintBstr(reinterpret_cast<PFN_NV_GETUPDATES>(p)(a.Text(0), a.Text(1), a.Int(2),
                                                              a.Int(3), a.Int(4)));
         }},
        {"IsInstalliert", "CONDITION", 1,
         [](void* p, const Args& a) { PrintInt(reinterpret_cast<PFN_NV_TEXTSTD>(p)(a.Text(0))); }},
        {"IsItemInstallable", "NDC SECTION", 2,
         [](void* p, const Args& a) {
             PrintInt(reinterpret_cast<PFN_NV_ISITEMINSTALLABLE>(p)(a.Text(0), a.Text(1)));
         }},
        {"MergeNdc2", "NEWNDC OLDNDC", 2,
         [](void* p, const Args& a) {
             BSTR message = nullptr;
             PrintInt(reinterpret_cast<PFN_NV_MERGENDC2>(p)(a.Text(0), a.Text(1), &message));
             std::printf("message: %s\n", nv::BstrToAnsi(message).c_str());
             SysFreeString(message);
         }},
        {"MergeNdc", "NEWNDC OLDNDC", 2,
         [](void* p, const Args& a) {
             PrintInt(reinterpret_cast<PFN_NV_MERGENDC>(p)(a.Text(0), a.Text(1)));
         }},
        {"SetNewsItemState", "FEEDPATH GUID READ HIDDEN", 4,
         [](void* p, const Args& a) {
             PrintHresult(reinterpret_cast<PFN_NV_SETNEWSITEMSTATE>(p)(a.Text(0), a.Text(1),
                                                                       a.Int(2), a.Int(3)));
         }},
        {"ShowUpdateManagerItem", "PAGE PRODUCT ITEM", 3,
         [](void* p, const Args& a) {
             PrintInt(
                 reinterpret_cast<PFN_NV_SHOWUPDATEMANAGERITEM>(p)(a.Int(0), a.Text(1), a.Text(2)));
         }},
        {"UpdateAsDownloaded", "SECTION NDC VALUE", 3,
         [](void* p, const Args& a) {
             PrintInt(reinterpret_cast<PFN_NV_UPDATEFLAG>(p)(a.Text(0), a.Text(1), a.Int(2)));
         }},
        {"UpdateAsUpdated", "SECTION NDC VALUE", 3,
         [](void* p, const Args& a) {
             PrintInt(reinterpret_cast<PFN_NV_UPDATEFLAG>(p)(a.Text(0), a.Text(1), a.Int(2)));
         }},
        {"UpdateStatus", "SECTION SECOND THIRD", 3,
         [](void* p, const Args& a) {
             PrintInt(reinterpret_cast<PFN_NV_UPDATESTATUS>(p)(a.Text(0), a.Text(1), a.Text(2)));
         }},
        {"CheckConstraint", "XML", 1,
         [](void* p, const Args& a) {
             PrintInt(reinterpret_cast<PFN_NV_CHECKCONSTRAINT_STD>(p)(a.Text(0)));
         }},
        {NVINFO_CLOSEAPPS, "ENTRIES", 1,
         [](void* p, const Args& a) {
             reinterpret_cast<PFN_NV_CLOSEAPPS>(p)(a.Text(0), nullptr);
             std::printf("done\n");
         }},
        {NVINFO_GETNEWSFROMFILE, "FEEDPATH CATEGORY INCLUDEREAD INCLUDEHIDDEN", 4,
         [](void* p, const Args& a) {
             IDispatch* document = nullptr;
             reinterpret_cast<PFN_NV_GETNEWSFROMFILE>(p)(a.Text(0), a.Text(1), &document, a.Int(2),
                                                         a.Int(3));
             PrintDocument(document);
         }},
        {NVINFO_GETNEWSFROMFILEEX, "FEEDPATH CATEGORY INCLUDEREAD INCLUDEHIDDEN CHECK", 5,
         [](void* p, const Args& a) {
             IDispatch* document = nullptr;
             reinterpret_cast<PFN_NV_GETNEWSFROMFILEEX>(p)(a.Text(0), a.Text(1), &document,
                                                           a.Int(2), a.Int(3), a.Int(4));
             PrintDocument(document);
         }},
        {"IsLocalUpdateAvailable", "NDC", 1,
         [](void* p, const Args& a) { PrintInt(reinterpret_cast<PFN_NV_TEXTSTD>(p)(a.Text(0))); }},
    };
    return commands;
}

// The readable core of an exported name: "?GetNewsDocument@News@..." and
// "_CloseApps@8" answer to "GetNewsDocument" and "CloseApps".
std::string CoreName(const std::string& exported)
{
    size_t start = (!exported.empty() && (exported[0] == '?' || exported[0] == '_')) ? 1 : 0;
    return exported.substr(start, exported.find('@', start) - start);
}

const Command* FindCommand(const std::string& name)
{
    for (const Command& command : Commands())
        if (name == command.name)
            return &command;
    for (const Command& command : Commands())
        if (name == CoreName(command.name) && name != command.name &&
            std::string(command.name) != CoreName(command.name))
            return &command;
    return nullptr;
}

int Usage()
{
    std::fprintf(stderr, "usage: nvhost --list\n       nvhost [--dll PATH] NAME ARGS...\n");
    for (const Command& command : Commands())
        std::fprintf(stderr, "  %s %s\n", command.name, command.usage);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string dllPath = "nvinfo.dll";
    int next = 1;
    if (next + 1 < argc && std::string(argv[next]) == "--dll") {
        dllPath = argv[next + 1];
        next += 2;
    }
    if (next >= argc)
        return Usage();
    HMODULE module = LoadLibraryA(dllPath.c_str());
    if (!module) {
        std::fprintf(stderr, "nvhost: cannot load %s (error %lu)\n", dllPath.c_str(),
                     GetLastError());
        return 1;
    }
    std::string name = argv[next++];
    if (name == "--list") {
        ExportTable table = ReadExportTable(module);
        std::sort(table.entries.begin(), table.entries.end(),
                  [](const ExportEntry& a, const ExportEntry& b) { return a.ordinal < b.ordinal; });
        for (const ExportEntry& entry : table.entries)
            std::printf("%3lu %s\n", entry.ordinal, entry.name.c_str());
        return 0;
    }
    const Command* command = FindCommand(name);
    if (!command) {
        std::fprintf(stderr, "nvhost: no export is named %s\n", name.c_str());
        return Usage();
    }
    Args args;
    for (int i = next; i < argc; ++i)
        args.values.push_back(argv[i]);
    if (args.values.size() != command->argCount) {
        std::fprintf(stderr, "usage: nvhost %s %s\n", command->name, command->usage);
        return 2;
    }
    FARPROC proc = GetProcAddress(module, command->name);
    if (!proc) {
        std::fprintf(stderr, "nvhost: %s is not exported\n", command->name);
        return 1;
    }
    CoInitialize(nullptr);
    DialogCapture capture(IDOK, [](const CapturedDialog& dialog) {
        std::fprintf(stderr, "[message box] %s: %s\n", dialog.caption.c_str(), dialog.text.c_str());
    });
    command->call(reinterpret_cast<void*>(proc), args);
    std::fflush(stdout);
    return 0;
}
