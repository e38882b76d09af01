#pragma once
#include <functional>

class TfrmQVBDownloader;

// The installer process from its start to the end of its message loop: the single-instance
// lock, the private font, the application title, the three windows (the main window's
// FormCreate runs the start-up sequence) and the message loop. qvb-installer's main() is only a
// call of this; the demo runs the same sequence and drives the window through the hook.
struct TInstallerHooks {
  // Called once the main window exists and is shown, before the message loop runs.
  std::function<void(TfrmQVBDownloader& window)> OnMainWindowShown;
};

// Returns the exit code of an orderly shutdown; every other end of the run exits the process
// at once with code 0.
int RunInstaller(const TInstallerHooks& hooks = {});
