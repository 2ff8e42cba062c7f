// The stateless worker behind the exported functions: each export makes one on
// the stack, calls exactly one operation and drops it. Each operation hands the
// call to the subsystem that does the work (service_worker.cpp).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

class CServiceWorker {
public:
    // News
    HRESULT CollectProductNews(const std::string& product, const std::string& category,
                               IDispatch** document, BOOL includeRead, BOOL includeHidden,
                               const std::string& dataFolderPathValue);
    void CollectFileNews(const std::string& feedPath, const std::string& category,
                         IDispatch** document, BOOL includeRead, BOOL includeHidden,
                         BOOL checkConstraints);
    HRESULT SetNewsItemState(const std::string& feedPath, const std::string& guid, long readState,
                             long hiddenState);

    // Update manager integration and update catalogue
    int GetUpdateMode();
    int GetDaysSinceLastCheck();
    std::string GetUpdates(const std::string& oldPath, const std::string& newPath, bool all,
                           bool fourth, bool downloaderOnly);
    std::string GetNdcToDownload(const std::string& filter, int pushOnly,
                                 const std::string& baseKey);
    int GetUpdateInfos(const std::string& product, int* newsCount, int* updateCount, int* dayCount,
                       IDispatch** document, const std::string& baseKey);
    int ShowUpdateManagerItem(int page, const char* product, const char* item);

    // Download configuration
    int MergeNdc(const std::string& newPath, const std::string& oldPath, std::string* message);
    int UpdateAsDownloaded(const std::string& section, const std::string& ndcPath, int value);
    int UpdateAsUpdated(const std::string& section, const std::string& ndcPath, int value);
    int UpdateStatus(const std::string& section, const std::string& second,
                     const std::string& third);
    bool IsItemInstallable(const char* ndcPath, const char* section);
    int CountLocalUpdates(const std::string& ndcPath);
};
