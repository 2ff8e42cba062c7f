/* A program of the suite as another toolchain builds it: no nvinfo.h and no SDK, it declares
   what it calls. Exit code 0 when every call answered as the module documents, else one bit per
   call that did not. Built twice by tests/package/package-test, against each import library. */

/* GNU as takes a name with '?' only in quotes; clang writes its objects itself. */
#ifdef __clang__
#define NV_SYMBOL(name) name
#else
#define NV_SYMBOL(name) "\"" name "\""
#endif

long __stdcall CheckConstraint(const char* constraintXml);
long NvCheckConstraint(const char* constraintXml)
    __asm__(NV_SYMBOL("?CheckConstraint@News@Norvane@@YAJPBD@Z"));
int GetUpdateInfos(const char* product, int* newsCount, int* updateCount, int* dayCount,
                   void** document);
int __stdcall IsLocalUpdateAvailable(const char* ndcPath);

/* Every export of the table, generated beside this file, so the loader binds them all. */
extern void* const nv_exports[];
extern const int nv_export_count;

static int Run(void)
{
    int failed = 0;
    int count = 0;
    int i;
    if (CheckConstraint("<and><true/></and>") != 1 || CheckConstraint("<or/>") != 0)
        failed |= 1;
    if (NvCheckConstraint("<not><false/></not>") != 1)
        failed |= 2;
    if (GetUpdateInfos("nvpro", &count, 0, 0, 0) != -1)
        failed |= 4;
    if (IsLocalUpdateAvailable("C:\\nvinfo-package-test\\missing.ndc") != 0)
        failed |= 8;
    for (i = 0; i < nv_export_count; ++i) {
        if (!nv_exports[i])
            failed |= 16;
    }
    return failed;
}

#ifdef _MSC_VER
/* No C runtime to start main: the process's entry point is called with one argument. */
int __stdcall NvEntry(void* peb)
{
    (void)peb;
    return Run();
}
#else
int main(void)
{
    return Run();
}
#endif
