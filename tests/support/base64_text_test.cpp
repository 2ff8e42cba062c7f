// Base64 for keys and signatures: only the one text the encoder gives is taken back.
#include "support/base64_text.h"

#include <gtest/gtest.h>

TEST(Base64Text, DecodesOnlyWhatTheEncoderWrites)
{
    const struct {
        const char* text;
        bool valid;
        const char* bytes;
    } rows[] = {
        {"QUJD", true, "ABC"},  {"QUI=", true, "AB"},    {"QQ==", true, "A"}, {"", true, ""},
        {"QUJD==x", false, ""}, {"QUJ=", false, ""},     {"QR==", false, ""}, {"QUJ", false, ""},
        {"QU JD", false, ""},   {"QUJD\r\n", false, ""}, {"Q===", false, ""}, {"QQ=A", false, ""},
        {"-_-_", false, ""},
    };
    for (const auto& row : rows) {
        std::string bytes = "untouched";
        EXPECT_EQ(row.valid, nv::DecodeBase64(row.text, bytes)) << row.text;
        EXPECT_EQ(row.valid ? row.bytes : "untouched", bytes) << row.text;
    }
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    for (size_t size = 0; size < 5; ++size) {
        std::string back;
        EXPECT_TRUE(nv::DecodeBase64(nv::EncodeBase64(all.substr(size)), back));
        EXPECT_EQ(all.substr(size), back);
    }
}
