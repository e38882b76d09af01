#pragma once
#include <memory>
#include <string>

#include "Installer/Downloader/InstallerLanguage.h"
#include "public/rdcontrol/RdForm.h"

class TDownloader;
class TInstallLocation;
class TUserConfig;
class TDownloadFlow;
class TSetupRunner;
class TFinishActions;

// The main window and the controller of one installation run. It owns the run's state (the
// fields below), the two downloaders and the pieces that carry out each stage:
//   TInstallLocation  install and download folders, free space, the path field
//   TUserConfig       the settings file and the setup's install markers
//   TDownloadFlow     descriptor, package download, MD5 memory
//   TSetupRunner      download progress, the silent setup run, install progress
//   TFinishActions    the Finished page and everything that ends the run
// Those pieces reach the window through its public fields, its controls (by name) and the
// operations below; the window's own handlers only decide which page is active and delegate.
class TfrmQVBDownloader : public TRdForm {
  QVB_PERSISTENT(TfrmQVBDownloader)

 public:
  explicit TfrmQVBDownloader(TComponent* owner = nullptr);
  ~TfrmQVBDownloader() override;

  // Reads the window description and runs FormCreate (the whole start-up sequence).
  void Create();

  // ---- run fields, shared by every stage ----
  std::string FInstallPath;   // ends with a path separator
  std::string FDownloadPath;  // ends with a path separator
  bool FInstalled{false};
  bool FCloseRequested{false};
  bool FRunBrowser{false};
  bool FCancelled{false};
  std::unique_ptr<TDownloader> FDescriptorDownloader;
  std::unique_ptr<TDownloader> FPackageDownloader;
  std::string FLastMD5, FCurrMD5, FDownloadUrl;
  // The redirect base the product API supplied ("pc_dump_url"); empty until it answers.
  std::string FPcDumpUrl;

  // ---- controls ----
  // The control of that name and class; throws std::logic_error when the description lacks it.
  template <class T>
  T& Ctl(const std::string& name) const {
    auto* c = dynamic_cast<T*>(FindComponent(name));
    if (!c) MissingControl(name);
    return *c;
  }

  // ---- language ----
  TInstallerLanguage& Lang() { return FLang; }
  std::string GetLangMsg(const std::string& key, const std::string& def) const { return FLang.GetLangMsg(key, def); }
  std::string GetLangText(const std::string& section, const std::string& key, const std::string& def) const {
    return FLang.GetLangText(section, key, def);
  }

  // ---- stages ----
  TInstallLocation& Location() { return *FLocation; }
  TUserConfig& UserConfig() { return *FUserConfig; }
  TDownloadFlow& DownloadFlow() { return *FDownloadFlow; }
  TSetupRunner& SetupRunner() { return *FSetupRunner; }
  TFinishActions& FinishActions() { return *FFinishActions; }

  // ---- page flow and view operations ----
  enum class TPage { Main, Options, Download, Finished, Other };
  TPage ActivePage() const;
  void SetActivePage(TPage page);
  void FormCreate();
  void lbl_AgreenInstallClick();
  void ShowOptionsPage();
  void ShowMainPage();
  void BeginInstall();
  void CommitSettings();
  void CancelDownload();
  void btnCloseClick();
  bool FormCloseQuery();
  void BringToFront();
  bool ForceForegroundWindow();
  void ApplyLangLayout();
  bool CreateShortcut(const std::string& linkPath, const std::string& targetPath);
  std::string GetDesktopFolder() const;
  void OpenUrlWithFallback(const std::string& url);
  // Lets pending window messages run (repaints, posted events) before going on.
  void ProcessMessages();
  // Ends the process at once with exit code 0.
  [[noreturn]] void EndProcess();
  // The installer's own executable and its folder (with a trailing separator).
  std::string ExecutablePath() const;
  std::string ExecutableFolder() const;

  // Stand-ins tests replace: the start-up request to the product API.
  std::function<void()> OnBaseInfoRequest;

 protected:
  void ResolveEvent(TPersistent& target, const std::string& event, const std::string& handler) override;

 private:
  [[noreturn]] static void MissingControl(const std::string& name);

  TInstallerLanguage FLang;
  std::unique_ptr<TInstallLocation> FLocation;
  std::unique_ptr<TUserConfig> FUserConfig;
  std::unique_ptr<TDownloadFlow> FDownloadFlow;
  std::unique_ptr<TSetupRunner> FSetupRunner;
  std::unique_ptr<TFinishActions> FFinishActions;
};
