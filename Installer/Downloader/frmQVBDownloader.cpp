#include "Installer/Downloader/frmQVBDownloader.h"

#include <stdexcept>

#include "Installer/Downloader/DownloadFlow.h"
#include "Installer/Downloader/Downloader.h"
#include "Installer/Downloader/FinishActions.h"
#include "Installer/Downloader/InstallLocation.h"
#include "Installer/Downloader/SetupRunner.h"
#include "Installer/Downloader/UserConfig.h"
#include "platform/EventLoop.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "public/rdcontrol/PropertyTable.h"

// Placeholder: the run controller replaces the bodies below.

const TClassInfo& TfrmQVBDownloader::StaticClass() {
  static const TClassInfo info =
      TPropertyTable<TfrmQVBDownloader>("TfrmQVBDownloader", &TRdForm::StaticClass()).Creatable().Build();
  return info;
}

TfrmQVBDownloader::TfrmQVBDownloader(TComponent* owner)
    : TRdForm(owner),
      FLocation(std::make_unique<TInstallLocation>(*this)),
      FUserConfig(std::make_unique<TUserConfig>(*this)),
      FDownloadFlow(std::make_unique<TDownloadFlow>(*this)),
      FSetupRunner(std::make_unique<TSetupRunner>(*this)),
      FFinishActions(std::make_unique<TFinishActions>(*this)) {}

TfrmQVBDownloader::~TfrmQVBDownloader() = default;

void TfrmQVBDownloader::MissingControl(const std::string& name) {
  throw std::logic_error("TfrmQVBDownloader has no control " + name);
}

void TfrmQVBDownloader::Create() { LoadDescriptionResource("frmQVBDownloader"); }
TfrmQVBDownloader::TPage TfrmQVBDownloader::ActivePage() const { return TPage::Other; }
void TfrmQVBDownloader::SetActivePage(TPage) {}
void TfrmQVBDownloader::FormCreate() {}
void TfrmQVBDownloader::lbl_AgreenInstallClick() {}
void TfrmQVBDownloader::ShowOptionsPage() {}
void TfrmQVBDownloader::ShowMainPage() {}
void TfrmQVBDownloader::BeginInstall() {}
void TfrmQVBDownloader::CommitSettings() {}
void TfrmQVBDownloader::CancelDownload() {}
void TfrmQVBDownloader::btnCloseClick() {}
bool TfrmQVBDownloader::FormCloseQuery() { return true; }
void TfrmQVBDownloader::BringToFront() {}
bool TfrmQVBDownloader::ForceForegroundWindow() { return true; }
void TfrmQVBDownloader::ApplyLangLayout() {}
bool TfrmQVBDownloader::CreateShortcut(const std::string&, const std::string&) { return false; }
std::string TfrmQVBDownloader::GetDesktopFolder() const { return {}; }
void TfrmQVBDownloader::OpenUrlWithFallback(const std::string&) {}
void TfrmQVBDownloader::ProcessMessages() { TEventLoop::Main().ProcessPendingMessages(); }
void TfrmQVBDownloader::EndProcess() { TPlatform::Current().Processes().ExitNow(); }
std::string TfrmQVBDownloader::ExecutablePath() const { return {}; }
std::string TfrmQVBDownloader::ExecutableFolder() const { return {}; }
void TfrmQVBDownloader::ResolveEvent(TPersistent&, const std::string&, const std::string&) {}
