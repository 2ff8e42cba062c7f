/*
 * nvinfo.dll: news and update service module of the Norvane suite.
 *
 * Text arguments are zero-terminated single-byte strings in the system code
 * page; a null pointer counts as the empty text. A BSTR result is newly
 * allocated and belongs to the caller (free it with SysFreeString). An
 * interface pointer result carries one reference that the caller releases.
 * No C++ exception leaves the module: a failure that the function cannot
 * express in its result leaves its description as the thread's COM error info
 * (GetErrorInfo).
 */
#ifndef NVINFO_H
#define NVINFO_H

#include <windows.h>
#include <oaidl.h>
#include <msxml2.h>

#ifdef __cplusplus
extern "C" {
#endif

/* News ------------------------------------------------------------------- */

/* HRESULT; *document receives the product's news document, or null when no
   item passes the filters. Read and hidden items are included. */
long __cdecl GetNews(const char* product, const char* category, IDispatch** document);
/* The news document's XML text, or null when no item passes the filters. */
BSTR __cdecl GetNewsXml(const char* product, const char* category);
/* As GetNewsXml, with the data folder read through the given registry path value. */
BSTR __cdecl GetNewsXml3(const char* product, const char* category,
                         const char* dataFolderRegistryPath);
/* One feed file; *document receives the result (or stays null). */
void __stdcall GetNewsFromFile(const char* feedPath, const char* category, IDispatch** document,
                               int includeRead, int includeHidden);
void __stdcall GetNewsFromFileEx(const char* feedPath, const char* category, IDispatch** document,
                                 int includeRead, int includeHidden, int checkConstraints);
/* Records read and hidden marks of an item (-1 leaves a mark unchanged). HRESULT. */
long __cdecl SetNewsItemState(const char* feedPath, const char* guid, int readState,
                              int hiddenState);

/* Constraints -------------------------------------------------------------- */

/* 1 when the constraint holds, 0 when not (also for text that does not parse). */
long __stdcall CheckConstraint(const char* constraintXml);

/* Updates ------------------------------------------------------------------ */

/* The update list document (root "Updates") after merging the two NDC files. */
BSTR __cdecl GetUpdates(const char* oldNdcPath, const char* newNdcPath, int all, int fourth,
                        int downloaderOnly);
/* The NDC download list (root "ndcs") of the installed products. */
BSTR __cdecl GetNdcToDownload2(const char* filter, int pushOnly);
BSTR __cdecl GetNdcToDownload3(const char* filter, int pushOnly, const char* registryBaseKey);
/* -1 when a count pointer is null; else 0, or E_INVALIDARG for an empty product. */
int __cdecl GetUpdateInfos(const char* product, int* newsCount, int* updateCount, int* dayCount,
                           IDispatch** document);
/* 1 look for updates, 0 do not. */
int __cdecl GetUpdateMode(void);
/* Whole days since the update manager's last successful check; -1 none recorded. */
int __cdecl GetDaysSinceLastCheck(void);
/* 0 started; -1 program not found (after a message); -2 start failed. */
int __cdecl ShowUpdateManagerItem(int page, const char* product, const char* item);

/* Download configuration (NDC files) ----------------------------------------- */

/* 0 on success, a negative code otherwise. */
int __cdecl MergeNdc(const char* newNdcPath, const char* oldNdcPath);
/* As MergeNdc; *message always receives a BSTR (empty when there is no message). */
int __cdecl MergeNdc2(const char* newNdcPath, const char* oldNdcPath, BSTR* message);
/* 0 after writing the flag, -1 for a text shorter than 2 characters or a failed write. */
int __cdecl UpdateAsDownloaded(const char* section, const char* ndcPath, int value);
int __cdecl UpdateAsUpdated(const char* section, const char* ndcPath, int value);
int __cdecl UpdateStatus(const char* section, const char* second, const char* third);
/* 1 when the installation condition holds, else 0. */
int __stdcall IsInstalliert(const char* condition);
/* Whether the item of that section could be installed on this machine. */
bool __cdecl IsItemInstallable(const char* ndcPath, const char* section);
/* 1 when a local copy of the NDC file offers an installable new item. */
int __stdcall IsLocalUpdateAvailable(const char* ndcPath);

/* Shutdown ----------------------------------------------------------------- */

/* Closes the applications of the entry list; owner owns the message boxes. */
void __stdcall CloseApps(const char* entries, HWND owner);

#ifdef __cplusplus
}
#endif

/*
 * Names to pass to GetProcAddress. Five functions carry C++ decorated names,
 * three stdcall functions are exported with their argument size.
 */
#define NVINFO_CHECKCONSTRAINT_CPP "?CheckConstraint@News@Norvane@@YAJPBD@Z"
#define NVINFO_EVALUATENODEOSVERSION \
    "?EvaluateNodeOSVersion@News@Norvane@@YAJPAUIXMLDOMNode@MSXML2@@@Z"
#define NVINFO_EVALUATENODEPRODUCT "?EvaluateNodeProduct@News@Norvane@@YAJPAUIXMLDOMNode@MSXML2@@@Z"
#define NVINFO_EVALUATENODEREGENTRY \
    "?EvaluateNodeRegEntry@News@Norvane@@YAJPAUIXMLDOMNode@MSXML2@@@Z"
#define NVINFO_GETNEWSDOCUMENT \
    "?GetNewsDocument@News@Norvane@@YAJPBD0PAPAUIXMLDOMDocument2@MSXML2@@@Z"
#define NVINFO_CLOSEAPPS "_CloseApps@8"
#define NVINFO_GETNEWSFROMFILE "_GetNewsFromFile@20"
#define NVINFO_GETNEWSFROMFILEEX "_GetNewsFromFileEx@24"

typedef long(__cdecl* PFN_NV_CHECKCONSTRAINT)(const char* constraintXml);
typedef long(__cdecl* PFN_NV_EVALUATENODE)(IXMLDOMNode* node);
typedef long(__cdecl* PFN_NV_GETNEWSDOCUMENT)(const char* product, const char* category,
                                              IXMLDOMDocument2** document);
typedef long(__stdcall* PFN_NV_CHECKCONSTRAINT_STD)(const char* constraintXml);
typedef void(__stdcall* PFN_NV_CLOSEAPPS)(const char* entries, HWND owner);
typedef void(__stdcall* PFN_NV_GETNEWSFROMFILE)(const char*, const char*, IDispatch**, int, int);
typedef void(__stdcall* PFN_NV_GETNEWSFROMFILEEX)(const char*, const char*, IDispatch**, int, int,
                                                  int);
typedef long(__cdecl* PFN_NV_GETNEWS)(const char*, const char*, IDispatch**);
typedef BSTR(__cdecl* PFN_NV_GETNEWSXML)(const char*, const char*);
typedef BSTR(__cdecl* PFN_NV_GETNEWSXML3)(const char*, const char*, const char*);
typedef long(__cdecl* PFN_NV_SETNEWSITEMSTATE)(const char*, const char*, int, int);
typedef BSTR(__cdecl* PFN_NV_GETUPDATES)(const char*, const char*, int, int, int);
typedef BSTR(__cdecl* PFN_NV_GETNDCTODOWNLOAD2)(const char*, int);
typedef BSTR(__cdecl* PFN_NV_GETNDCTODOWNLOAD3)(const char*, int, const char*);
typedef int(__cdecl* PFN_NV_GETUPDATEINFOS)(const char*, int*, int*, int*, IDispatch**);
typedef int(__cdecl* PFN_NV_NOARGS)(void);
typedef int(__cdecl* PFN_NV_SHOWUPDATEMANAGERITEM)(int, const char*, const char*);
typedef int(__cdecl* PFN_NV_MERGENDC)(const char*, const char*);
typedef int(__cdecl* PFN_NV_MERGENDC2)(const char*, const char*, BSTR*);
typedef int(__cdecl* PFN_NV_UPDATEFLAG)(const char*, const char*, int);
typedef int(__cdecl* PFN_NV_UPDATESTATUS)(const char*, const char*, const char*);
typedef int(__stdcall* PFN_NV_TEXTSTD)(const char*);
typedef bool(__cdecl* PFN_NV_ISITEMINSTALLABLE)(const char*, const char*);

#endif /* NVINFO_H */
