#include "Installer/Downloader/FinishActions.h"
#include <cstdlib>
// Placeholder bodies; the finish actions replace them.
void TFinishActions::ShowSuccessPage() {}
void TFinishActions::ShowFailurePage() {}
void TFinishActions::FinishInstall() { std::abort(); }
void TFinishActions::Rdbtn_FinishpgCloseClick() {}
void TFinishActions::Rdbtn_FinishpgFeedbackClick() {}
