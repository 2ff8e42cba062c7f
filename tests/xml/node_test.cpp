// Reading attributes into a caller's buffer; the editing of nodes the news state and update
// infos exports show.
#include "xml_test_support.h"
#include <vector>

const char kItem[] = "<rss><channel><item id=\"0123456789\" empty=\"\"/></channel></rss>";

// The buffer form is what GetAttributeString reads through, which the constraints use.
TEST(NodeAttribute, CopiesValueOrDefaultIntoTheBuffer)
{
    const struct {
        const char *name, *attribute;
        int size;
        const char* defaultText;
        std::string expected;
    } rows[] = {
        {"exact fit", "id", 11, "d", "0123456789"},
        {"cut to size - 1", "id", 4, "d", "012"},
        {"missing gives default", "missing", 64, "fallback", "fallback"},
        {"missing with null default", "missing", 64, nullptr, ""},
        {"empty value is no default", "empty", 64, "fallback", ""},
    };
    CNvXmlNode item = DocumentFromText(kItem).SelectSingleNode("channel/item");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<char> buffer(row.size + 64, 'X');
        EXPECT_EQ(buffer.data(),
                  item.GetAttribute(row.attribute, buffer.data(), row.size, row.defaultText));
        EXPECT_EQ(row.expected, buffer.data());
        EXPECT_EQ(std::string(64, 'X'), std::string(buffer.begin() + row.size, buffer.end()));
        EXPECT_EQ(row.expected, item.GetAttributeString(row.attribute, row.defaultText, row.size));
    }
}
