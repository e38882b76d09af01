#pragma once
#include <cstdint>
#include <string>

// Mirrors a progress on the application's taskbar entry: the launcher-entry D-Bus signal
// (com.canonical.Unity.LauncherEntry.Update) that docks and task managers read, sent when a
// session bus exists; otherwise nothing happens. Never blocks and never fails the caller: the
// signal goes out through a short-lived gdbus process, at most one at a time; a value that
// arrives while one is on its way is sent after it.
void SetTaskbarProgress(int64_t completed, int64_t total);

// The desktop entry the signal names ("application://<id>").
void SetTaskbarDesktopId(const std::string& id);
// The gdbus arguments for a fraction, for tests: the parameter string handed to the process.
std::string TaskbarSignalParameters(const std::string& desktopId, double fraction);
