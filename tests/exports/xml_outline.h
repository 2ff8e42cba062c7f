// XML results written out node by node in one fixed notation, so that a test
// compares every element, text node and attribute without depending on how
// the DOM serialises line ends or empty elements: <name a="v">...</name>,
// text with &, < and > escaped, declarations and processing instructions left out.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <initializer_list>
#include <string>

std::string XmlEscaped(const std::string& text);
// The outline of a run of text-only elements: <names[i]>values[i]</names[i]>...
std::string ElementsOutline(const char* const* names, std::initializer_list<std::string> values);
std::string XmlOutline(IXMLDOMNode* node);
// The outline of the root element of an XML text; "(unparsable)" when it is
// no XML. Without `keepWhiteSpace` white-space-only text is the serialiser's
// layout (Wine's msxml3 indents) and is dropped.
std::string XmlTextOutline(const std::string& xml, bool keepWhiteSpace = true);
// The outline of a document handed out as IDispatch ("(null)" for none);
// `declaration` tells whether it carries an XML declaration. Releases it.
std::string TakeDocumentOutline(IDispatch* document, bool* declaration);
// A BSTR result as single-byte text; releases it. Null gives "(null)".
std::string TakeBstrText(BSTR text);
