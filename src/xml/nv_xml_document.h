// One XML document of the MSXML 3.0 DOM: created, loaded from a file or text,
// queried by XPath relative to its root element, and saved.
#pragma once

#include "xml/nv_xml_error.h"
#include "xml/nv_xml_node.h"

#include <string>

namespace nv {
class VariantValue;
} // namespace nv

class CNvXmlDocument {
public:
    CNvXmlDocument() = default;
    explicit CNvXmlDocument(const nv::ComPtr<IXMLDOMDocument>& document) : m_document(document) {}

    // A synchronous, non-validating document without external resources and
    // with XPath as selection language; null when the parser is unavailable.
    static nv::ComPtr<IXMLDOMDocument> Create();
    // The same without selection language and keeping white space, for the
    // update lists; null when the parser is unavailable.
    static nv::ComPtr<IXMLDOMDocument> CreatePlain();

    const nv::ComPtr<IXMLDOMDocument>& Document() const { return m_document; }
    bool IsEmpty() const { return !m_document; }

    // Both start from a new document; a text or file that does not parse
    // raises "XML ParseError:..." with the parser's error code. An empty text
    // leaves the current document as it is.
    void Load(const std::string& fileName);
    // A file's bytes, as Load reads them; the document has no file name.
    void LoadContent(const std::string& content);
    void LoadXml(const std::string& text);
    // Without a name, saves to the file last loaded.
    void Save(const std::string& fileName = std::string());

    // XPath from a printf-style format, evaluated with the root element as
    // context ("." is the root element itself). No match gives an empty node.
    CNvXmlNode SelectSingleNode(const char* format, ...) const
        __attribute__((format(printf, 2, 3)));
    CNvXmlNodeList SelectNodes(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    CNvXmlNode DocumentElement() const;
    // A new element of this document, not yet attached, with `value` as text.
    CNvXmlNode CreateElement(const char* name, const char* value);
    nv::BstrText GetXml() const;

private:
    void RequireQuery(const char* format) const;
    void Replace();
    void LoadSource(const nv::VariantValue& source);

    nv::ComPtr<IXMLDOMDocument> m_document;
    std::string m_fileName;
};
