// The NDC download list: the installed products whose NDC file names a
// redirection address, with what the update manager needs to fetch a fresh
// copy of each file.
#include "download/download_item.h"
#include "frame/service_worker.h"
#include "profile/nv_product_enum.h"
#include "support/bstr_text.h"
#include "support/com_error.h"
#include "support/com_ptr.h"
#include "support/file_status.h"
#include "support/msxml_ids.h"
#include "support/text.h"
#include "xml/nv_xml_document.h"

#include <msxml2.h>

namespace {

// The indentation text nodes are part of the list as the update manager has
// always received it.
const char kBeforeEntry[] = "\n\t";
const char kInsideEntry[] = "\n\t\t";

class ListBuilder {
public:
    explicit ListBuilder(const nv::ComPtr<IXMLDOMDocument>& document) : m_document(document) {}

    void AppendText(IXMLDOMNode* parent, const char* text)
    {
        nv::ComPtr<IXMLDOMText> node;
        nv::BstrText data(text);
        Check(m_document->createTextNode(data.Get(), node.Receive()));
        Append(parent, node.Get());
    }

    // The element gets its text before it joins the document.
    nv::ComPtr<IXMLDOMElement> AppendElement(IXMLDOMNode* parent, const char* name,
                                             const std::string& text)
    {
        nv::ComPtr<IXMLDOMElement> element = Create(name);
        nv::BstrText value(text);
        nv::CheckCall(element->put_text(value.Get()), element.Get(), nv::IID_IXMLDOMElement);
        Append(parent, element.Get());
        return element;
    }

    nv::ComPtr<IXMLDOMElement> Create(const char* name)
    {
        nv::ComPtr<IXMLDOMElement> element;
        nv::BstrText tag(name);
        Check(m_document->createElement(tag.Get(), element.Receive()));
        return element;
    }

    void Append(IXMLDOMNode* parent, IXMLDOMNode* child)
    {
        nv::ComPtr<IXMLDOMNode> appended;
        nv::CheckCall(parent->appendChild(child, appended.Receive()), parent,
                      nv::IID_IXMLDOMNode);
    }

private:
    void Check(HRESULT hr) { nv::CheckCall(hr, m_document.Get(), nv::IID_IXMLDOMDocument); }

    nv::ComPtr<IXMLDOMDocument> m_document;
};

void AppendEntry(ListBuilder& builder, IXMLDOMNode* list, const ProductRecord& product,
                 const CDownloadItem& header)
{
    builder.AppendText(list, kBeforeEntry);
    nv::ComPtr<IXMLDOMElement> entry = builder.Create("ndc");
    builder.Append(list, entry.Get());
    builder.AppendText(entry.Get(), kInsideEntry);
    builder.AppendElement(entry.Get(), "Name", product.Name);
    builder.AppendElement(entry.Get(), "regSubPath", product.SubKey);
    builder.AppendText(entry.Get(), kInsideEntry);
    builder.AppendElement(entry.Get(), "NDCFilename", header.m_strNdcFile);
    builder.AppendText(entry.Get(), kInsideEntry);
    builder.AppendElement(entry.Get(), "LocalUrl", header.m_strLocalURL);
    builder.AppendText(entry.Get(), kInsideEntry);
    builder.AppendElement(entry.Get(), "RedirURL", header.m_strRedirURL);
}

} // namespace

std::string CServiceWorker::GetNdcToDownload(const std::string& filter, int pushOnly,
                                             const std::string& baseKey)
{
    CNvProductEnum products(baseKey);
    nv::ComPtr<IXMLDOMDocument> document = CNvXmlDocument::CreatePlain();
    ListBuilder builder(document);
    nv::ComPtr<IXMLDOMElement> list = builder.Create("ndcs");
    builder.Append(document.Get(), list.Get());

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
        header.Load(product.NDC.c_str(), "header");
        if (header.m_strRedirURL.empty())
            continue;
        if (pushOnly != 0 && header.m_nPush == 0)
            continue;
        AppendEntry(builder, list.Get(), product, header);
    }

    nv::ComPtr<IXMLDOMNode> listNode(list, nv::IID_IXMLDOMNode);
    BSTR xml = nullptr;
    nv::CheckCall(listNode->get_xml(&xml), listNode.Get(), nv::IID_IXMLDOMNode);
    return nv::BstrText::Attach(xml).AnsiString();
}
