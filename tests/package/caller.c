/* A suite program built without nvinfo.h, an SDK or a C runtime: it declares what it calls.
   Exits with 0 when every call answered as documented, else one bit per call that did not. */
long __stdcall CheckConstraint(const char* constraintXml);
int GetUpdateInfos(const char* product, int* news, int* updates, int* days, void** document);
int __stdcall IsLocalUpdateAvailable(const char* ndcPath);
typedef long (*NvTextFunction)(const char*);

/* Every export in table order (ordinal 1 first), generated beside this file. */
extern void* const nv_exports[];

int __stdcall NvEntry(void* peb)
{
    int failed = 0, count = 0;
    (void)peb;
    if (CheckConstraint("<and><true/></and>") != 1 || CheckConstraint("<or/>") != 0)
        failed |= 1;
    if (((NvTextFunction)nv_exports[0])("<not><false/></not>") != 1)
        failed |= 2;
    if (GetUpdateInfos("nvpro", &count, 0, 0, 0) != -1)
        failed |= 4;
    if (IsLocalUpdateAvailable("C:\\nvinfo-package-test\\missing.ndc") != 0)
        failed |= 8;
    return failed;
}
