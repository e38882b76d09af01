#pragma once
#include <string>

class TfrmQVBDownloader;

// The Finished page in its success and failure forms and the actions that end the run.
class TFinishActions {
 public:
  explicit TFinishActions(TfrmQVBDownloader& form) : FForm(form) {}

  void ShowSuccessPage();
  void ShowFailurePage();
  [[noreturn]] void FinishInstall();
  void Rdbtn_FinishpgCloseClick();
  void Rdbtn_FinishpgFeedbackClick();

 private:
  TfrmQVBDownloader& FForm;
};
