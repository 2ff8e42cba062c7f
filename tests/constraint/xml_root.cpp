#include "constraint/xml_root.h"

#include "xml/nv_xml_document.h"

#include <objbase.h>

CNvXmlNode RootOf(const std::string& xml)
{
    CoInitialize(nullptr);
    CNvXmlDocument document;
    document.LoadXml(xml);
    return document.SelectSingleNode(".");
}
