#pragma once

class TComponent;
class TLanguage;

// The notice dialog's translator (prefix "QMRFeed", window Form_Notice): made by the first
// notice dialog and kept until the process ends; null before. It loads only language files of
// its AvailableLanguages, which nothing fills, so a dialog normally keeps its designed texts and
// takes its button captions from the main window's messages.
TLanguage* NoticeLanguage();

// The language steps of a notice dialog's creation handler: the first call makes the translator
// and asks for the language the flagship product is set to ("main.ini" in its data folder,
// [Main] Language); every call then translates dialog.
void TranslateNoticeDialog(TComponent* dialog);

// Forgets the translator, as if no dialog had been made (tests).
void ResetNoticeLanguage();
