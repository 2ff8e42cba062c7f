// Data placed into an XPath expression must stay data: a guid or category that
// holds an apostrophe would otherwise end the quoted literal early and change
// the query (or make it invalid).
#pragma once

#include <string>

namespace nv {

// `text` as an XPath 1.0 string literal, quotes included. Without an apostrophe
// it is the text in single quotes, so ordinary values give the same query text
// as before; with one it is a concat() of quoted pieces.
std::string XPathLiteral(const std::string& text);

} // namespace nv
