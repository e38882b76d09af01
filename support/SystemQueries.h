#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/SpecialFolders.h"
#include "platform/SystemInfo.h"

// Small questions to the operating system. None of them fails: each answers with an empty
// text, false or zero instead.

std::string GetUserLogonName();  // at most 254 characters
std::string GetSystemFolder();   // at most 254 characters
std::string GetTempFolder();     // with trailing separator, at most 254 characters
// A new GUID in registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; empty when none can be made.
std::string NewGuidString();
// Total size of the entries matching pattern (folder + wildcard name), with the files of
// every sub-folder below them.
int64_t GetFilesSize(const std::string& pattern);
// The 32-bit installer runs under a 64-bit system; asked once per process.
bool IsWindows64();
// The system's own version, unaffected by compatibility settings; asked once per process.
TWindowsVersion GetTrueWindowsVersion();
// A standard folder; for the user's application data, program files and the profile, with
// the fall-backs of the environment and of a path built from the system drive when the
// platform gives no usable answer.
std::string GetSpecialFolder(TFolderKind kind);

// The drive ("C:") at the start of the folder of that kind; empty on a platform without drive
// letters, where the fall-backs built from a drive do not apply.
std::string FolderDrive(TFolderKind kind);
// drive, then each part after a separator: the folders that the Windows layout puts on a drive.
std::string DrivePath(const std::string& drive, std::initializer_list<std::string> parts);

// Forgets every cached answer of the system queries: 64-bit, true version, browser version,
// flagship beta (tests).
void ResetSystemQueryCaches();
