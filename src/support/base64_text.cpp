#include "support/base64_text.h"

namespace nv {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int DigitValue(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    return c == '+' ? 62 : c == '/' ? 63 : -1;
}

} // namespace

std::string EncodeBase64(const std::string& bytes)
{
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t count = bytes.size() - i < 3 ? bytes.size() - i : 3;
        unsigned long group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0);
        for (size_t k = 0; k < 4; ++k)
            text += k <= count ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return text;
}

bool DecodeBase64(const std::string& text, std::string& bytes)
{
    if (text.size() % 4 != 0)
        return false;
    size_t padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=')
        ++padding;
    std::string result;
    unsigned long group = 0;
    const size_t digits = text.size() - padding;
    for (size_t i = 0; i < digits; ++i) {
        int value = DigitValue(text[i]);
        if (value < 0)
            return false;
        group = (group << 6) | static_cast<unsigned long>(value);
        if (i % 4 == 3)
            for (int shift = 16; shift >= 0; shift -= 8)
                result += static_cast<char>((group >> shift) & 0xFF);
    }
    // The last group: 2 digits give 1 byte, 3 digits give 2; the bits left over must be 0.
    const size_t tail = digits % 4;
    if (tail == 1)
        return false;
    if (tail == 2) {
        if (group & 0xF)
            return false;
        result += static_cast<char>((group >> 4) & 0xFF);
    } else if (tail == 3) {
        if (group & 0x3)
            return false;
        result += static_cast<char>((group >> 10) & 0xFF);
        result += static_cast<char>((group >> 2) & 0xFF);
    }
    bytes = result;
    return true;
}

} // namespace nv
