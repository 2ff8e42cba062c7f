// Class and interface identifiers of MSXML 3.0 that the module uses. The
// platform headers declare the interfaces; the identifiers are defined here so
// the module does not depend on an import library that carries them.
#pragma once

#include <windows.h>
#include <msxml2.h>

namespace nv {

extern const CLSID CLSID_DOMDocument30;
extern const IID IID_IXMLDOMDocument;
extern const IID IID_IXMLDOMDocument2;
extern const IID IID_IXMLDOMNode;
extern const IID IID_IXMLDOMElement;
extern const IID IID_IXMLDOMNodeList;
extern const IID IID_IXMLDOMParseError;
extern const IID IID_IXMLDOMText;

} // namespace nv
