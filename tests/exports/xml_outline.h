// XML results of the update exports written out node by node in one fixed
// notation, so that a test compares every element, text node and attribute
// without depending on how the DOM serialises line ends or empty elements.
// Elements read <name a="v">...</name>, text nodes their text with &, < and >
// escaped; declarations and processing instructions are left out.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <string>

// `text` with &, < and > escaped, as the outline writes text.
std::string XmlEscaped(const std::string& text);
// The outline of `node` and everything below it.
std::string XmlOutline(IXMLDOMNode* node);
// The outline of the root element of an XML text parsed with all white space
// kept; "(unparsable)" when the text is no XML.
std::string XmlTextOutline(const std::string& xml);
// The outline of the root element of a document handed out as IDispatch
// ("(null)" for none); `declaration` receives whether the document carries an
// XML declaration. Releases the document.
std::string TakeDocumentOutline(IDispatch* document, bool* declaration);
// A BSTR result as single-byte text; releases it. Null gives "(null)".
std::string TakeBstrText(BSTR text);
