#pragma once
#include <string>

// Where the maker's flagship product ("Quillmark Care") keeps its files.

// The product's data folder in the user's application data, with trailing separator:
// "...\Kelvra\Quillmark Care\", or "...\Kelvra\Quillmark Care Beta\" for a beta.
std::string GetFlagshipDataFolder();
// The product's install folder with trailing separator: its uninstall entry's
// "InstallLocation", else program files + "\Kelvra\Quillmark Care\".
std::string GetFlagshipInstallFolder();
// [Beta] ver14=1 in the install folder's "Update\Update.ini". The value is read once per
// process; while the file does not exist the answer is false and each call looks again.
bool IsFlagshipBeta();

// Forgets the cached beta answer (tests).
void ResetFlagshipCache();
