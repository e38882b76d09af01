// qvbtool render WINDOW PAGE OUT.png: a window description drawn headless, for QA and docs.
#include <iostream>
#include <map>
#include <memory>

#include "Verb.h"
#include "platform/EventLoop.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/TextCodec.h"
#include "public/rdcontrol/FormValue.h"
#include "public/rdcontrol/PageNote.h"
#include "public/rdcontrol/PageTab.h"
#include "public/rdcontrol/RdForm.h"

namespace {

struct TWindowChoice {
  const char* Word;
  const char* Resource;
};
const TWindowChoice Windows[] = {
    {"main", "TfrmQVBDownloader"}, {"notice", "TForm_Notice"}, {"sysnotice", "TFormSysNotice"}};

struct TPageChoice {
  const char* Word;
  const char* Page;
};
const TPageChoice Pages[] = {{"Main", "PageTab_Main"},
                             {"Options", "PageTab_InstallOption"},
                             {"Download", "PageTab_Download"},
                             {"Finished", "PageTab_Finished"}};

int RunRender(const std::vector<std::string>& args) {
  if (args.size() != 3) return UsageError("render WINDOW PAGE OUT.png");
  const char* resource = nullptr;
  for (const TWindowChoice& w : Windows)
    if (SameText(args[0], w.Word)) resource = w.Resource;
  if (!resource) return UsageError("render: WINDOW is one of main, notice, sysnotice");
  const char* page = nullptr;
  for (const TPageChoice& p : Pages)
    if (SameText(args[1], p.Word)) page = p.Page;
  if (!page && SameText(args[0], "main"))
    return UsageError("render: PAGE of the main window is one of Main, Options, Download, Finished");

  TEventLoop loop;
  TEventLoop* previousLoop = TEventLoop::SetMain(&loop);
  auto previousSystem = TWindowSystem::Install(std::make_unique<THeadlessWindowSystem>(loop));
  int rc = 0;
  {
    TRdForm form;
    try {
      if (!form.LoadDescriptionResource(resource)) {
        std::cerr << "qvbtool: no built-in window description " << resource << "\n";
        rc = 1;
      }
    } catch (const TFormSyntaxError& e) {
      std::cerr << "qvbtool: " << resource << ": " << e.what() << "\n";
      rc = 1;
    }
    if (rc == 0) {
      if (page)
        if (auto* note = dynamic_cast<TPageNote*>(form.FindComponent("PageNoteInstall")))
          note->SetActivePage(form.FindComponent(page));
      // The notice dialog shows its OK button as a notice with OK does.
      if (SameText(args[0], "notice"))
        if (auto* ok = dynamic_cast<TControl*>(form.FindComponent("ButtonOK"))) ok->Show();
      form.Show();
      std::string error;
      if (!form.SaveFrame(args[2], &error)) {
        std::cerr << "qvbtool: " << args[2] << ": " << error << "\n";
        rc = 1;
      }
    }
  }
  TWindowSystem::Install(std::move(previousSystem));
  TEventLoop::SetMain(previousLoop);
  return rc;
}

TVerbRegistration Registration{"render",
                               "render WINDOW PAGE OUT.png   draw a window headless (WINDOW: main, notice, "
                               "sysnotice; PAGE: Main, Options, Download, Finished)",
                               RunRender};

}  // namespace
