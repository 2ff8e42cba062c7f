#include "news/feed_index.h"

std::string LastUrlComponent(const std::string& url)
{
    size_t separator = url.find_last_of("\\/");
    return separator == std::string::npos ? url : url.substr(separator + 1);
}
