#pragma once
#include <string>

// Opens a document or URL through the shell, with Internet Explorer as the fall-back.
// Returns the shell's result code: above 32 is success, 31 "no program is associated",
// 29 "DDE failure" (the program did start, so no retry).
// window is the owner window of any question the shell asks; the platform layer opens without
// one, so it is carried for the callers' sake only.
int ShellOpen(const std::string& target, int showCommand, const void* window, const std::string& folder,
              const std::string& parameters, const std::string& verb);

// A security product that blocks the shell's open (Windows 10 from build 10586 with 360 Total
// Security, MPC AdCleaner, MPC or iSafe installed): links then go to Internet Explorer directly.
bool IsBlockingSecurityProduct();
// Internet Explorer's executable: under program files, else the "App Paths" entry.
std::string GetInternetExplorerPath();
