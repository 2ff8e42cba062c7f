// Section and key names of NDC files, spelled as the files carry them.
#pragma once

namespace nv::ndc {

inline const char* const kHeaderSection = "Header";
inline const char* const kConfigurationSection = "Konfiguration";
inline const char* const kDownloaderSection = "dnload";
// The header's section as an item keeps it and the item maps key it: items
// lower-case their section names.
inline const char* const kHeaderItem = "header";

inline const char* const kName = "Name";
inline const char* const kDateVer = "DateVer";
inline const char* const kShowhtm = "Showhtm";
inline const char* const kStopMsg = "StopMsg";
inline const char* const kRedirURL = "RedirURL";
inline const char* const kPush = "Push";
inline const char* const kLocalURL = "LocalURL";
inline const char* const kState = "State";
inline const char* const kSize = "Size";
inline const char* const kTooltip = "Tooltip";
inline const char* const kFile = "File";
inline const char* const kFileURL = "FileURL";
inline const char* const kInstalliert = "Installiert";
inline const char* const kClose = "Close";
inline const char* const kShellExecute = "ShellExecute";
inline const char* const kRun = "Run";
inline const char* const kSilentRun = "SilentRun";
inline const char* const kSummary = "Summary";
inline const char* const kDestination = "Destination";
inline const char* const kDelFile = "DelFile";
inline const char* const kSeverity = "Severity";
inline const char* const kMyGroup = "MyGroup";
inline const char* const kInfo = "Info";
inline const char* const kUpdate = "Update";
inline const char* const kDownload = "Download";
inline const char* const kElster = "Elster";
inline const char* const kReDistribute = "ReDistribute";
inline const char* const kQuota = "Quota";
inline const char* const kQuotaDiced = "QuotaDiced";
inline const char* const kPrivilegedGroup = "PrivilegedGroup";

// A signed file's edition number, in the header; never lower than the
// installed file's.
inline const char* const kSerial = "Serial";
// The publisher's signature. Its name makes it a section that is never an item.
inline const char* const kSignatureSection = "!NdcSignature";
inline const char* const kKeyId = "KeyId";
inline const char* const kSignature = "Signature";

// String values are read into a buffer of this many characters.
const unsigned kValueBufferSize = 1023;

} // namespace nv::ndc
