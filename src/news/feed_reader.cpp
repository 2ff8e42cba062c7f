#include "news/feed_reader.h"

#include "constraint/constraint_evaluator.h"
#include "news/news_current_date.h"
#include "news/news_files.h"
#include "news/news_state.h"
#include "xml/nv_xml_document.h"
#include "xml/xpath_literal.h"

#include <io.h>

#include <cwchar>

namespace {

// Display dates: not before `von`, not after `bis`. A date that does not
// parse leaves its test out.
bool IsDue(const CNvXmlNode& item, const NewsDate& now)
{
    CNvXmlNode from = item.SelectSingleNode("von");
    if (!from.IsEmpty() && IsLaterDate(ParseNewsDate(from.GetTextString()), now))
        return false;
    CNvXmlNode until = item.SelectSingleNode("bis");
    return until.IsEmpty() || !IsLaterDate(now, ParseNewsDate(until.GetTextString()));
}

bool IsWhiteSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

// Trims the description in its wide form, so characters outside the code page
// survive. The DOM's text may already come trimmed, so it is always written
// back: only that replaces the white space stored in the document.
void TrimDescription(const CNvXmlNode& item)
{
    try {
        CNvXmlNode description = item.SelectSingleNode("description");
        if (description.IsEmpty())
            return;
        nv::BstrText text = description.GetText();
        const wchar_t* begin = text.Get();
        if (!begin)
            return;
        const wchar_t* end = begin + text.Length();
        const wchar_t* first = begin;
        while (first < end && IsWhiteSpace(*first))
            ++first;
        const wchar_t* last = end;
        while (last > first && IsWhiteSpace(last[-1]))
            --last;
        BSTR trimmed = SysAllocStringLen(first, static_cast<UINT>(last - first));
        nv::BstrText owner = nv::BstrText::Attach(trimmed);
        nv::CheckCall(description.Node()->put_text(owner.Get()), description.Node().Get(),
                      nv::IID_IXMLDOMNode);
    } catch (const nv::ComError&) {
        // The item goes on with its text as it was.
    }
}

// Drops items the user has read (unless wanted) or hidden (unless wanted),
// and marks the read ones that stay. Items without a guid cannot carry marks
// and are not shown once the user has marks for this feed.
bool PassesUserMarks(CNvXmlNode& item, const NewsStateRecords& state, BOOL includeRead,
                     BOOL includeHidden)
{
    CNvXmlNode guid = item.SelectSingleNode("guid");
    if (guid.IsEmpty())
        return false;
    CNvXmlNode record = state.Find(guid.GetText());
    if (record.IsEmpty())
        return true;
    if (IsMarkSet(record, "read")) {
        if (!includeRead)
            return false;
        item.SetAttribute("read", "1");
    }
    return includeHidden || !IsMarkSet(record, "dontshow");
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
                   int* progressStep)
{
    *progressStep = 2;
    if (_access(feedPath.c_str(), 0) != 0)
        return;
    CoInitialize(nullptr);
    CNvXmlDocument feed;
    feed.Load(feedPath);
    *progressStep = 3;
    NewsStateRecords state(GetNewsStateFilePath(feedPath));
    CNvXmlNode title = feed.SelectSingleNode("channel/title");
    if (!title.IsEmpty())
        channel.AppendChild(title);

    *progressStep = 4;
    std::string query = ItemQuery(category);
    NewsDate now = GetNewsCurrentDate();
    *progressStep = 5;
    CNvXmlNodeList items = feed.DocumentElement().SelectNodesPath(query);
    while (items.Next()) {
        CNvXmlNode item = items.GetCurrent();
        if (!IsDue(item, now))
            continue;
        if (checkConstraints) {
            CNvXmlNode constraint = item.SelectSingleNode("if");
            if (!constraint.IsEmpty() && !Evaluate(constraint))
                continue;
        }
        item.SetAttribute("read", "0");
        if (state.IsLoaded() && !PassesUserMarks(item, state, includeRead, includeHidden))
            continue;
        TrimDescription(item);
        item.SetAttribute("feedurl", feedPath.c_str());
        ++*itemCount;
        channel.AppendChild(item);
    }
}
