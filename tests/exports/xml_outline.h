// XML results node by node in one notation, <name a="v">...</name> with &, < and >
// escaped, whatever the DOM's serialiser does; processing instructions are left out.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <initializer_list>
#include <string>

std::string XmlEscaped(const std::string& text);
// A run of text-only elements: <names[i]>values[i]</names[i]>...
std::string ElementsOutline(const char* const* names, std::initializer_list<std::string> values);
// The root element of an XML text, "(unparsable)" for none. Without
// `keepWhiteSpace` white-space-only text (Wine's msxml3 indents) is dropped.
std::string XmlTextOutline(const std::string& xml, bool keepWhiteSpace = true);
// A document handed out as IDispatch ("(null)" for none), released;
// `declaration` tells whether it carries an XML declaration.
std::string TakeDocumentOutline(IDispatch* document, bool* declaration);
// A BSTR result as single-byte text ("(null)" for none), released.
std::string TakeBstrText(BSTR text);
