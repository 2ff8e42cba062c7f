#include "news/feed_index.h"

#include "frame/registry_path.h"
#include "news/news_files.h"

namespace nv {

std::string LastUrlComponent(const std::string& url)
{
    size_t separator = url.find_last_of("\\/");
    return separator == std::string::npos ? url : url.substr(separator + 1);
}

std::string ResolveFeedEntryPath(const CNvXmlNode& entry)
{
    CNvXmlNode url = entry.SelectSingleNode("Url");
    CNvXmlNode destination = entry.SelectSingleNode("RegistryDestination");
    if (url.IsEmpty() || destination.IsEmpty())
        return std::string();
    std::string folder = ReadRegistryPathValue(destination.GetTextString(), std::string());
    return CombinePath(folder, LastUrlComponent(url.GetTextString()));
}

} // namespace nv
