#include "news/news_reader.h"

void ReadProductFeeds(CNvXmlNode&, const std::string&, const std::string&, BOOL, BOOL,
                      int* itemCount, const std::string&)
{
    *itemCount = 0;
}
