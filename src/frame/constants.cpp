#include "frame/constants.h"

namespace nv {

const char* const kNewsStateFolder = "Norvane\\Gemeinsame Dateien\\UpdateManager";
const char* const kNewsStateExtension = ".conf";
const char* const kEmptyFeed =
    "<?xml version='1.0' encoding='utf-8'?><rss><channel></channel></rss>";
const char* const kUpdateManagerProgram = "NvUpdateManager.exe";
const char* const kProductCodes[6] = {"qdpro", "wtpro", "zgpro", "ycpro", "vumipro", "xjpro"};
const char* const kInstalledProductsKey = "Software\\Norvane\\Installiert";
const char* const kDataFolderPathValue =
    "HKLM\\Software\\Norvane\\Gemeinsame Dateien\\Update Manager\\Verzeichnisse\\Daten";
const char* const kDataFolderDefault =
    "C:\\Programme\\Gemeinsame Dateien\\Norvane\\Update Manager\\Daten";

} // namespace nv
