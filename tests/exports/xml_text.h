// XML results compared as the platform's parser reads them: expected and actual text both go
// through NormalXml, so quoting, empty-element forms and the declaration do not count.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <initializer_list>
#include <string>

// The root element of `xml` as the parser writes it back, "(unparsable)" for none. Without
// `keepWhiteSpace` white-space-only text (Wine's msxml3 indents) is dropped.
std::string NormalXml(const std::string& xml, bool keepWhiteSpace = true);
// A run of text-only elements <names[i]>values[i]</names[i]>, the values escaped.
std::string XmlElements(const char* const* names, std::initializer_list<std::string> values);
// The root element of a document handed out as IDispatch ("(null)" for none), released;
// `declaration`, when given, is set to whether the document carries an XML declaration.
std::string TakeDocumentXml(IDispatch* document, bool* declaration = nullptr);
// A BSTR result as single-byte text ("(null)" for none), released.
std::string TakeBstrText(BSTR text);
