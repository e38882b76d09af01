#pragma once
#include <string>

// The installer's own message boxes. ShowNotice shows a fresh TForm_Notice modally (icon 0 with
// OK, icon 1 with Yes and No) and frees it afterwards; the answer is NoticeResult(). ShowSysNotice
// shows the unsupported-system notice modally.
void ShowNotice(int icon, const std::string& text, int buttons);
void ShowSysNotice(const std::string& title, const std::string& text);
bool& NoticeResult();
