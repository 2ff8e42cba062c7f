// GetUpdates on an old and a new NDC file of n items each (a tenth new, a
// tenth newer editions), against its floor: a bare parse of the two files (the
// one bench_ndc_model's floor makes), a document of the same shape built and
// serialised in plain DOM code, and the new file written once with the bytes
// the merge leaves in it, the way any careful writer writes a file others read
// (temporary file in the same folder, flushed, moved over the old one).
// Grouped: a group of five members per fifty items. Deep and wide: every item
// a member of the innermost of as many nested groups as a file may have. The
// merge writes its flags back into the new file, so every run starts from a
// fresh copy of it.
#include "bench_support.h"
#include "download/ndc_limits.h"
#include "harness/temp_folder.h"
#include "support/msxml_ids.h"
#include "updates/update_catalogue.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

namespace {

const int kTurns = 7;

struct NdcPair {
    std::string oldText;
    std::string newText;
};

std::string ItemBody(int dateVer, bool installed)
{
    std::string body = "Name=Update " + std::to_string(dateVer) +
                       "\nSize=2048 kB\nFileURL=http://updates.example/u.exe\nFile=u.exe\n"
                       "Info=Text of the update;info.htm\nTooltip=Tip\nDateVer=" +
                       std::to_string(dateVer) + "\nQuota=900\n";
    if (installed)
        body += "Update=1\nDownload=1\nQuotaDiced=17\n";
    return body;
}

NdcPair MakePair(int items, bool deep)
{
    NdcPair pair;
    pair.oldText = "[Header]\nDateVer=1\n";
    pair.newText = "[Header]\nDateVer=2\n";
    for (int i = 0; i < items; ++i) {
        std::string section = "[item" + std::to_string(i) + "]\n";
        std::string group = deep ? "MyGroup=deep0\n" : "";
        if (!deep && i % 50 == 0) {
            pair.oldText += "[group" + std::to_string(i) + "]\nDateVer=3\n";
            pair.newText += "[group" + std::to_string(i) + "]\nDateVer=3\n";
        }
        if (!deep && i % 50 < 5)
            group = "MyGroup=group" + std::to_string(i - i % 50) + "\n";
        bool fresh = i % 10 == 1;
        bool newer = i % 10 == 2;
        if (!fresh)
            pair.oldText += section + ItemBody(5, true) + group;
        // A member that dices above the quota would make its groups not
        // installable and end the merge's look into them early.
        pair.newText +=
            section + ItemBody(newer ? 6 : 5, false) + group + (deep ? "QuotaDiced=17\n" : "");
    }
    // Members come before their groups, as a group that has joined another
    // one can no longer be named. The new file's groups are a newer edition,
    // so the merge looks into every level.
    for (int level = 0; deep && level < nv::ndc::kMaxGroupDepth; ++level) {
        std::string group = "[deep" + std::to_string(level) + "]\n";
        if (level + 1 < nv::ndc::kMaxGroupDepth)
            group += "MyGroup=deep" + std::to_string(level + 1) + "\n";
        pair.oldText += group + "DateVer=3\n";
        pair.newText += group + "DateVer=4\n";
    }
    return pair;
}

// Appends an element `name` with `text` to `parent`, as plain DOM code does.
void AppendText(IXMLDOMDocument* document, IXMLDOMNode* parent, const wchar_t* name,
                const std::string& text)
{
    BSTR tag = SysAllocString(name);
    IXMLDOMElement* element = nullptr;
    document->createElement(tag, &element);
    SysFreeString(tag);
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    BSTR value = SysAllocStringLen(nullptr, UINT(length));
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), value, length);
    element->put_text(value);
    SysFreeString(value);
    parent->appendChild(element, nullptr);
    element->Release();
}

// The value of `key` in a parsed section, or "".
std::string ValueOf(const bench::IniKeys& keys, const char* key)
{
    for (const auto& entry : keys)
        if (entry.first == key)
            return entry.second;
    return std::string();
}

// The floor: both files parsed, `listed` Update elements of thirteen texts of
// the new file's items built in the plainest DOM code and serialised through
// the code page, and the new file written once.
size_t Floor(const std::string& oldPath, const std::string& newPath, const std::string& written,
             size_t listed)
{
    const bench::IniSections oldSections = bench::ReadAndParse(oldPath);
    const bench::IniSections newSections = bench::ReadAndParse(newPath);
    IXMLDOMDocument* document = nullptr;
    CoCreateInstance(nv::CLSID_DOMDocument30, nullptr, CLSCTX_ALL, nv::IID_IXMLDOMDocument,
                     reinterpret_cast<void**>(&document));
    BSTR rootName = SysAllocString(L"Updates");
    IXMLDOMElement* root = nullptr;
    document->createElement(rootName, &root);
    SysFreeString(rootName);
    const std::string folder = newPath.substr(0, newPath.rfind('\\'));
    size_t made = 0;
    for (const auto& section : newSections) {
        if (made == listed)
            break;
        if (section.first.compare(0, 4, "item") != 0)
            continue;
        ++made;
        const bench::IniKeys& keys = section.second;
        const std::string info = ValueOf(keys, "Info");
        const std::string size = ValueOf(keys, "Size");
        BSTR updateName = SysAllocString(L"Update");
        IXMLDOMElement* update = nullptr;
        document->createElement(updateName, &update);
        SysFreeString(updateName);
        AppendText(document, update, L"Section", section.first);
        AppendText(document, update, L"Name", ValueOf(keys, "Name"));
        AppendText(document, update, L"Tooltip", ValueOf(keys, "Tooltip"));
        AppendText(document, update, L"InfoText", info.substr(0, info.find(';')));
        AppendText(document, update, L"InfoFile", info.substr(info.find(';') + 1));
        AppendText(document, update, L"Size", size.substr(0, size.find(' ')));
        AppendText(document, update, L"DateVer", ValueOf(keys, "DateVer"));
        AppendText(document, update, L"FileURL", ValueOf(keys, "FileURL"));
        AppendText(document, update, L"File", ValueOf(keys, "File"));
        AppendText(document, update, L"Destination", folder);
        AppendText(document, update, L"Download", "0");
        AppendText(document, update, L"Update", "0");
        AppendText(document, update, L"State", ValueOf(keys, "State"));
        root->appendChild(update, nullptr);
        update->Release();
    }
    document->appendChild(root, nullptr);
    root->Release();
    BSTR xml = nullptr;
    document->get_xml(&xml);
    int length =
        WideCharToMultiByte(CP_ACP, 0, xml, int(SysStringLen(xml)), nullptr, 0, nullptr, nullptr);
    std::string text(size_t(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, xml, int(SysStringLen(xml)), &text[0], length, nullptr, nullptr);
    SysFreeString(xml);
    document->Release();
    bench::WriteReplacing(newPath, written);
    return text.size() + oldSections.size();
}

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

int main()
{
    CoInitialize(nullptr);
    TempFolder folder;
    bench::Report report("GetUpdates", "floor");
    for (bool deep : {false, true}) {
        for (int items : {1000, 2000, 4000, 8000}) {
            NdcPair pair = MakePair(items, deep);
            std::string oldPath =
                folder.Write("old" + std::to_string(items) + ".ndc", pair.oldText);
            std::string newPath =
                folder.Write("new" + std::to_string(items) + ".ndc", pair.newText);
            auto fresh = [&] { bench::WriteBytes(newPath, pair.newText); };
            fresh();
            std::string list = nv::GetUpdates(oldPath, newPath, false, false, false);
            size_t listed = CountOf(list, "<Section>");
            const std::string written = bench::ReadBytes(newPath);
            bench::Figures figures = bench::MedianOf(
                kTurns, fresh,
                [&] { list = nv::GetUpdates(oldPath, newPath, false, false, false); },
                [&] { Floor(oldPath, newPath, written, listed); });
            std::string note = std::to_string(listed) + " listed, " + std::to_string(list.size()) +
                               " bytes of XML";
            report.Add(deep ? "deep" : "grouped", items, figures, note.c_str());
        }
    }
    return 0;
}
