#include "news/feed_reader.h"

#include "constraint/constraint_evaluator.h"
#include "news/child_elements.h"
#include "news/news_current_date.h"
#include "news/news_files.h"
#include "news/news_state.h"
#include "support/com_apartment.h"
#include "support/variant_value.h"
#include "xml/nv_xml_document.h"
#include "xml/xpath_literal.h"

#include <io.h>

#include <cwchar>
#include <unordered_map>

namespace nv {

namespace {

// The children of an item that reading looks at: the first of each name.
// Held as plain nodes: most are only read, and a wrapper would ask each for
// its element interface.
struct ItemParts {
    nv::ComPtr<IXMLDOMNode> from;
    nv::ComPtr<IXMLDOMNode> until;
    nv::ComPtr<IXMLDOMNode> constraint;
    nv::ComPtr<IXMLDOMNode> guid;
    nv::ComPtr<IXMLDOMNode> description;
};

ItemParts FindItemParts(const CNvXmlNode& item)
{
    struct Slot {
        const wchar_t* name;
        nv::ComPtr<IXMLDOMNode> ItemParts::*part;
    };
    static const Slot kSlots[] = {
        {L"von", &ItemParts::from},
        {L"bis", &ItemParts::until},
        {L"if", &ItemParts::constraint},
        {L"guid", &ItemParts::guid},
        {L"description", &ItemParts::description},
    };
    ItemParts parts;
    ForEachChildElement(item, [&](IXMLDOMNode* child, BSTR name) {
        for (const Slot& slot : kSlots) {
            nv::ComPtr<IXMLDOMNode>& part = parts.*slot.part;
            if (!part && std::wcscmp(name, slot.name) == 0)
                part = child;
        }
    });
    return parts;
}

nv::BstrText TextOf(const nv::ComPtr<IXMLDOMNode>& node)
{
    BSTR text = nullptr;
    nv::CheckCall(node->get_text(&text), node.Get(), nv::IID_IXMLDOMNode);
    return nv::BstrText::Attach(text);
}

// The dates of one feed read, each text parsed once: the platform's parse
// loads the locale's texts on every call, and a feed repeats its few dates
// over thousands of items. Kept for one read only, as the user's regional
// settings decide the parse.
class NewsDates {
public:
    NewsDate Parse(const nv::ComPtr<IXMLDOMNode>& element)
    {
        nv::BstrText text = TextOf(element);
        std::wstring key(text.Get() ? text.Get() : L"", text.Length());
        auto found = m_parsed.find(key);
        if (found == m_parsed.end())
            found = m_parsed.emplace(std::move(key), ParseNewsDate(text.AnsiString())).first;
        return found->second;
    }

private:
    std::unordered_map<std::wstring, NewsDate> m_parsed;
};

// Display dates: not before `von`, not after `bis`. A date that does not
// parse leaves its test out.
bool IsDue(const ItemParts& parts, const NewsDate& now, NewsDates& dates)
{
    if (parts.from && IsLaterDate(dates.Parse(parts.from), now))
        return false;
    return !parts.until || !IsLaterDate(now, dates.Parse(parts.until));
}

bool IsWhiteSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

// Trims the description in its wide form, so characters outside the code page
// survive. The DOM's text may already come trimmed, so it is always written
// back: only that replaces the white space stored in the document.
void TrimDescription(const nv::ComPtr<IXMLDOMNode>& description)
{
    try {
        nv::BstrText text = TextOf(description);
        const wchar_t* first = text.Get();
        if (!first)
            return;
        const wchar_t* last = first + text.Length();
        while (first < last && IsWhiteSpace(*first))
            ++first;
        while (last > first && IsWhiteSpace(last[-1]))
            --last;
        nv::BstrText trimmed =
            nv::BstrText::Attach(SysAllocStringLen(first, static_cast<UINT>(last - first)));
        nv::CheckCall(description->put_text(trimmed.Get()), description.Get(), nv::IID_IXMLDOMNode);
    } catch (const nv::ComError&) {
        // The item goes on with its text as it was.
    }
}

// The attributes every passing item gets, made once per feed: the same texts
// for thousands of items need converting only once.
class ItemAttributes {
public:
    explicit ItemAttributes(const std::string& feedPath) : m_feedUrl(feedPath) {}

    void SetRead(const CNvXmlNode& item, bool read) const
    {
        Set(item, m_readName, read ? m_one : m_zero);
    }
    void SetFeedUrl(const CNvXmlNode& item) const { Set(item, m_feedUrlName, m_feedUrl); }

private:
    static void Set(const CNvXmlNode& item, const nv::BstrText& name, const nv::VariantValue& value)
    {
        NvXmlClass::ThrowIf(!item.Element(), E_FAIL, "XML Element not initialized!");
        nv::CheckCall(item.Element()->setAttribute(name.Get(), value.Get()), item.Element().Get(),
                      nv::IID_IXMLDOMElement);
    }

    const nv::BstrText m_readName{"read"};
    const nv::BstrText m_feedUrlName{"feedurl"};
    const nv::VariantValue m_zero{"0"};
    const nv::VariantValue m_one{"1"};
    const nv::VariantValue m_feedUrl;
};

// Drops items the user has read (unless wanted) or hidden (unless wanted),
// and tells which of those that stay are read. Items without a guid cannot
// carry marks and are not shown once the user has marks for this feed.
bool PassesUserMarks(const nv::ComPtr<IXMLDOMNode>& guid, const NewsStateRecords& state,
                     BOOL includeRead, BOOL includeHidden, bool& read)
{
    if (!guid)
        return false;
    const NewsMarks* marks = state.Find(TextOf(guid));
    if (!marks)
        return true;
    if (marks->read) {
        if (!includeRead)
            return false;
        read = true;
    }
    return includeHidden || !marks->hidden;
}

std::string ItemQuery(const std::string& category)
{
    if (category.empty())
        return "channel/item|channel/orvo2/item";
    std::string literal = XPathLiteral(category);
    return "channel/item[category=" + literal + "]|channel/orvo2/item[category=" + literal + "]";
}

} // namespace

void ReadFeedItems(CNvXmlNode& channel, const std::string& feedPath, const std::string& category,
                   BOOL includeRead, BOOL includeHidden, BOOL checkConstraints, int* itemCount,
                   int* progressStep, FeedReadShared* shared)
{
    FeedReadShared own;
    FeedReadShared& call = shared ? *shared : own;
    *progressStep = 2;
    if (_access(feedPath.c_str(), 0) != 0)
        return;
    ComApartment com;
    CNvXmlDocument feed;
    feed.Load(feedPath);
    *progressStep = 3;
    if (!call.stateFolderKnown) {
        call.stateFolder = GetNewsStateFolder();
        call.stateFolderKnown = true;
    }
    NewsStateRecords state(
        call.stateFolder.empty() ? std::string() : NewsStateFilePathIn(call.stateFolder, feedPath));
    CNvXmlNode title = feed.SelectSingleNode("channel/title");
    if (!title.IsEmpty())
        channel.AppendChild(title);

    *progressStep = 4;
    std::string query = ItemQuery(category);
    NewsDate now = GetNewsCurrentDate();
    *progressStep = 5;
    CNvXmlNodeList items = feed.DocumentElement().SelectNodesPath(query);
    ItemAttributes attributes(feedPath);
    NewsDates dates;
    while (items.Next()) {
        const CNvXmlNode& item = items.GetCurrent();
        ItemParts parts = FindItemParts(item);
        if (!IsDue(parts, now, dates))
            continue;
        if (checkConstraints && parts.constraint &&
            !Evaluate(CNvXmlNode(parts.constraint.Get()), call.reads))
            continue;
        // An item dropped by its marks leaves with its feed, unseen: "read"
        // is set once, to what the marks say.
        bool read = false;
        if (state.IsLoaded() &&
            !PassesUserMarks(parts.guid, state, includeRead, includeHidden, read))
            continue;
        attributes.SetRead(item, read);
        if (parts.description)
            TrimDescription(parts.description);
        attributes.SetFeedUrl(item);
        ++*itemCount;
        // Moved without asking for the node appended: it is the item itself.
        nv::CheckCall(channel.Node()->appendChild(item.Node().Get(), nullptr), channel.Node().Get(),
                      nv::IID_IXMLDOMNode);
    }
}

} // namespace nv
