// The exported functions: convert the arguments, call one core, convert the
// result. Names, ordinals and calling conventions are fixed by exports.table.
#include "constraint/constraint_api.h"
#include "download/install_condition.h"
#include "frame/constants.h"
#include "frame/export_guard.h"
#include "frame/service_worker.h"
#include "shutdown/close_apps.h"
#include "support/bstr_text.h"
#include "support/com_apartment.h"
#include "support/com_ptr.h"
#include "support/msxml_ids.h"
#include "support/text.h"

#include <msxml2.h>

using nv::FromNullable;
using nv::GuardExport;
using nv::GuardExportVoid;

namespace {

// The news document of a product, or null when no item passed the filters.
HRESULT ProductNews(const char* product, const char* category, const std::string& dataFolder,
                    nv::ComPtr<IDispatch>& document)
{
    CServiceWorker worker;
    return worker.CollectProductNews(FromNullable(product), FromNullable(category),
                                     document.Receive(), TRUE, TRUE, dataFolder);
}

BSTR NewsXml(const char* product, const char* category, const std::string& dataFolder)
{
    nv::ComApartment com;
    nv::ComPtr<IDispatch> document;
    ProductNews(product, category, dataFolder, document);
    if (!document)
        return nullptr;
    nv::ComPtr<IXMLDOMDocument> xmlDocument(document, nv::IID_IXMLDOMDocument);
    BSTR xml = nullptr;
    nv::CheckCall(xmlDocument->get_xml(&xml), xmlDocument.Get(), nv::IID_IXMLDOMDocument);
    return xml;
}

// Runs `call`, which may hand a document to the caller through `document`.
// The document needs COM on the calling thread for as long as the caller
// holds it: the initialisation made here stays when one leaves, and is ended
// when none does.
template <class Document, class Call> auto HandingOutDocument(Document** document, Call call)
{
    nv::ComApartment com;
    auto result = call();
    if (document && *document)
        com.Keep();
    return result;
}

int UpdateFlag(int (CServiceWorker::*write)(const std::string&, const std::string&, int),
               const char* section, const char* ndcPath, int value)
{
    CServiceWorker worker;
    return (worker.*write)(FromNullable(section), FromNullable(ndcPath), value);
}

} // namespace

extern "C" {

long __cdecl NvCheckConstraint(const char* constraintXml)
{
    // An error leaves the core with an object of the parser's, published here: COM lasts until
    // then.
    nv::ComApartment com;
    return GuardExport(0L, [&] { return Norvane::News::CheckConstraint(constraintXml); });
}

long __cdecl NvEvaluateNodeOSVersion(IXMLDOMNode* node)
{
    return GuardExport(0L, [&] { return Norvane::News::EvaluateNodeOSVersion(node); });
}

long __cdecl NvEvaluateNodeProduct(IXMLDOMNode* node)
{
    return GuardExport(0L, [&] { return Norvane::News::EvaluateNodeProduct(node); });
}

long __cdecl NvEvaluateNodeRegEntry(IXMLDOMNode* node)
{
    return GuardExport(0L, [&] { return Norvane::News::EvaluateNodeRegEntry(node); });
}

int __cdecl NvGetDaysSinceLastCheck()
{
    return GuardExport(-1, [] { return CServiceWorker().GetDaysSinceLastCheck(); });
}

BSTR __cdecl NvGetNdcToDownload2(const char* filter, int pushOnly)
{
    return GuardExport(BSTR(nullptr), [&] {
        std::string list = CServiceWorker().GetNdcToDownload(FromNullable(filter), pushOnly,
                                                             nv::kInstalledProductsKey);
        return nv::AnsiToBstr(list);
    });
}

BSTR __cdecl NvGetNdcToDownload3(const char* filter, int pushOnly, const char* baseKey)
{
    return GuardExport(BSTR(nullptr), [&] {
        std::string list = CServiceWorker().GetNdcToDownload(FromNullable(filter), pushOnly,
                                                             FromNullable(baseKey));
        return nv::AnsiToBstr(list);
    });
}

long __cdecl NvGetNews(const char* product, const char* category, IDispatch** document)
{
    return GuardExport(long(E_UNEXPECTED), [&] {
        return HandingOutDocument(document, [&] {
            return long(CServiceWorker().CollectProductNews(FromNullable(product),
                                                            FromNullable(category), document, TRUE,
                                                            TRUE, nv::kDataFolderPathValue));
        });
    });
}

long __cdecl NvGetNewsDocument(const char* product, const char* category,
                               IXMLDOMDocument2** document)
{
    // Nowhere to put the result: refuse before any work rather than write through null.
    if (!document)
        return E_POINTER;
    return GuardExport(long(E_UNEXPECTED), [&] {
        *document = nullptr;
        return HandingOutDocument(document, [&] {
            nv::ComPtr<IDispatch> news;
            HRESULT hr = ProductNews(product, category, nv::kDataFolderPathValue, news);
            if (news) {
                nv::ComPtr<IXMLDOMDocument2> document2(news, nv::IID_IXMLDOMDocument2);
                *document = document2.Detach();
            }
            return long(hr);
        });
    });
}

BSTR __cdecl NvGetNewsXml3(const char* product, const char* category, const char* dataFolder)
{
    return GuardExport(BSTR(nullptr),
                       [&] { return NewsXml(product, category, FromNullable(dataFolder)); });
}

BSTR __cdecl NvGetNewsXml(const char* product, const char* category)
{
    return GuardExport(BSTR(nullptr),
                       [&] { return NewsXml(product, category, nv::kDataFolderPathValue); });
}

int __cdecl NvGetUpdateInfos(const char* product, int* newsCount, int* updateCount, int* dayCount,
                             IDispatch** document)
{
    if (!newsCount || !updateCount || !dayCount)
        return -1;
    return GuardExport(-1, [&] {
        return HandingOutDocument(document, [&] {
            return CServiceWorker().GetUpdateInfos(FromNullable(product), newsCount, updateCount,
                                                   dayCount, document, nv::kInstalledProductsKey);
        });
    });
}

int __cdecl NvGetUpdateMode()
{
    return GuardExport(1, [] { return CServiceWorker().GetUpdateMode(); });
}

BSTR __cdecl NvGetUpdates(const char* oldPath, const char* newPath, int all, int fourth,
                          int downloaderOnly)
{
    return GuardExport(BSTR(nullptr), [&] {
        std::string list = CServiceWorker().GetUpdates(FromNullable(oldPath), FromNullable(newPath),
                                                       all != 0, fourth != 0, downloaderOnly != 0);
        return nv::AnsiToBstr(list);
    });
}

int __stdcall NvIsInstalliert(const char* condition)
{
    return GuardExport(0, [&] { return nv::IsInstalliert(FromNullable(condition)); });
}

bool __cdecl NvIsItemInstallable(const char* ndcPath, const char* section)
{
    return GuardExport(false, [&] { return CServiceWorker().IsItemInstallable(ndcPath, section); });
}

int __cdecl NvMergeNdc2(const char* newPath, const char* oldPath, BSTR* message)
{
    BSTR text = nullptr;
    int result = GuardExport(-1, [&] {
        std::string merged;
        int code = CServiceWorker().MergeNdc(FromNullable(newPath), FromNullable(oldPath), &merged);
        text = nv::AnsiToBstr(merged);
        return code;
    });
    // The caller frees *message whatever happened: when the merge's own text
    // could not be made (out of memory), an empty one stands in for it.
    if (message)
        *message = text ? text : SysAllocString(L"");
    else
        SysFreeString(text);
    return result;
}

int __cdecl NvMergeNdc(const char* newPath, const char* oldPath)
{
    return GuardExport(-1, [&] {
        std::string discarded;
        return CServiceWorker().MergeNdc(FromNullable(newPath), FromNullable(oldPath), &discarded);
    });
}

long __cdecl NvSetNewsItemState(const char* feedPath, const char* guid, int readState,
                                int hiddenState)
{
    return GuardExport(long(E_UNEXPECTED), [&] {
        return long(CServiceWorker().SetNewsItemState(FromNullable(feedPath), FromNullable(guid),
                                                      readState, hiddenState));
    });
}

int __cdecl NvShowUpdateManagerItem(int page, const char* product, const char* item)
{
    return GuardExport(-2,
                       [&] { return CServiceWorker().ShowUpdateManagerItem(page, product, item); });
}

int __cdecl NvUpdateAsDownloaded(const char* section, const char* ndcPath, int value)
{
    return GuardExport(-1, [&] {
        return UpdateFlag(&CServiceWorker::UpdateAsDownloaded, section, ndcPath, value);
    });
}

int __cdecl NvUpdateAsUpdated(const char* section, const char* ndcPath, int value)
{
    return GuardExport(
        -1, [&] { return UpdateFlag(&CServiceWorker::UpdateAsUpdated, section, ndcPath, value); });
}

int __cdecl NvUpdateStatus(const char* section, const char* second, const char* third)
{
    return GuardExport(-1, [&] {
        return CServiceWorker().UpdateStatus(FromNullable(section), FromNullable(second),
                                             FromNullable(third));
    });
}

long __stdcall NvCheckConstraintStd(const char* constraintXml)
{
    return NvCheckConstraint(constraintXml);
}

void __stdcall NvCloseApps(const char* entries, HWND owner)
{
    GuardExportVoid([&] { nv::CloseApps(entries, owner); });
}

void __stdcall NvGetNewsFromFile(const char* feedPath, const char* category, IDispatch** document,
                                 int includeRead, int includeHidden)
{
    GuardExportVoid([&] {
        HandingOutDocument(document, [&] {
            CServiceWorker().CollectFileNews(FromNullable(feedPath), FromNullable(category),
                                             document, includeRead, includeHidden, TRUE);
            return 0;
        });
    });
}

void __stdcall NvGetNewsFromFileEx(const char* feedPath, const char* category, IDispatch** document,
                                   int includeRead, int includeHidden, int checkConstraints)
{
    GuardExportVoid([&] {
        HandingOutDocument(document, [&] {
            CServiceWorker().CollectFileNews(FromNullable(feedPath), FromNullable(category),
                                             document, includeRead, includeHidden,
                                             checkConstraints);
            return 0;
        });
    });
}

int __stdcall NvIsLocalUpdateAvailable(const char* ndcPath)
{
    return GuardExport(
        0, [&] { return CServiceWorker().CountLocalUpdates(FromNullable(ndcPath)) > 0 ? 1 : 0; });
}

} // extern "C"
