// The NDC download list: the installed products whose NDC file names a
// redirection address, with what the update manager needs to fetch a fresh
// copy of each file.
#include "updates/ndc_download_list.h"

#include "download/download_item.h"
#include "download/ndc_keys.h"
#include "profile/nv_product_enum.h"
#include "support/bstr_text.h"
#include "support/com_error.h"
#include "support/file_status.h"
#include "support/text.h"
#include "xml/nv_xml_document.h"

namespace {

// The indentation text nodes are part of the list as the update manager has
// always received it.
const char kBeforeEntry[] = "\n\t";
const char kInsideEntry[] = "\n\t\t";

void AppendIndentation(CNvXmlDocument& document, CNvXmlNode& parent, const char* text)
{
    const nv::ComPtr<IXMLDOMDocument>& dom = document.Document();
    nv::ComPtr<IXMLDOMText> node;
    nv::BstrText data(text);
    nv::CheckCall(dom->createTextNode(data.Get(), node.Receive()), dom.Get(),
                  nv::IID_IXMLDOMDocument);
    parent.AppendChild(CNvXmlNode(static_cast<IXMLDOMNode*>(node.Get())));
}

// The element gets its text before it joins the list.
void AppendElement(CNvXmlDocument& document, CNvXmlNode& parent, const char* name,
                   const std::string& text)
{
    parent.AppendChild(document.CreateElement(name, text.c_str()));
}

void AppendEntry(CNvXmlDocument& document, CNvXmlNode& list, const ProductRecord& product,
                 const CDownloadItem& header)
{
    AppendIndentation(document, list, kBeforeEntry);
    CNvXmlNode entry = list.AppendChild(document.CreateElement("ndc", nullptr));
    AppendIndentation(document, entry, kInsideEntry);
    AppendElement(document, entry, "Name", product.Name);
    AppendElement(document, entry, "regSubPath", product.SubKey);
    AppendIndentation(document, entry, kInsideEntry);
    AppendElement(document, entry, "NDCFilename", header.m_strNdcFile);
    AppendIndentation(document, entry, kInsideEntry);
    AppendElement(document, entry, "LocalUrl", header.m_strLocalURL);
    AppendIndentation(document, entry, kInsideEntry);
    AppendElement(document, entry, "RedirURL", header.m_strRedirURL);
}

} // namespace

namespace nv {

std::string GetNdcToDownload(const std::string& filter, int pushOnly, const std::string& baseKey)
{
    CNvProductEnum products(baseKey);
    CNvXmlDocument document(CNvXmlDocument::CreatePlain());
    if (document.IsEmpty())
        throw nv::ComError(E_POINTER);
    CNvXmlNode list = CNvXmlNode(static_cast<IXMLDOMNode*>(document.Document().Get()))
                          .AppendChild(document.CreateElement("ndcs", nullptr));

    // Any list form of product codes works: the test is a plain substring test.
    const std::string wanted = nv::ToLower(filter);
    ProductRecord product;
    for (BOOL found = products.GetFirst(product); found; found = products.GetNext(product)) {
        if (product.NDC.empty())
            continue;
        if (!wanted.empty() && wanted.find(nv::ToLower(product.SubKey)) == std::string::npos)
            continue;
        if (!nv::HasFileStatus(product.NDC))
            continue;
        CDownloadItem header;
        header.Load(product.NDC.c_str(), nv::ndc::kHeaderItem);
        if (header.m_strRedirURL.empty())
            continue;
        if (pushOnly != 0 && header.m_nPush == 0)
            continue;
        AppendEntry(document, list, product, header);
    }

    BSTR xml = nullptr;
    nv::CheckCall(list.Node()->get_xml(&xml), list.Node().Get(), nv::IID_IXMLDOMNode);
    return nv::BstrText::Attach(xml).AnsiString();
}

} // namespace nv
