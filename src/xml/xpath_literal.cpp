#include "xml/xpath_literal.h"

namespace nv {

std::string XPathLiteral(const std::string& text)
{
    if (text.find('\'') == std::string::npos)
        return "'" + text + "'";
    // XPath 1.0 has no escape inside a literal: runs without apostrophes go in
    // single quotes, runs of apostrophes in double quotes.
    std::string result = "concat(";
    int pieces = 0;
    size_t start = 0;
    while (start < text.size()) {
        bool apostrophes = text[start] == '\'';
        size_t end = apostrophes ? text.find_first_not_of('\'', start) : text.find('\'', start);
        if (end == std::string::npos)
            end = text.size();
        const char* quote = apostrophes ? "\"" : "'";
        result +=
            (pieces++ ? ", " : "") + std::string(quote) + text.substr(start, end - start) + quote;
        start = end;
    }
    // concat() needs two arguments.
    if (pieces == 1)
        result += ", ''";
    return result + ")";
}

} // namespace nv
