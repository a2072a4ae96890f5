#pragma once

// Commands of the settings pages and the help menu that act on the session:
// the emphasis and font defaults, the reset and font buttons, today's date, the
// system information, the version dialog and the two help pages.

#include "session/session.h"

namespace kelvaro {

void ResetHtmlCommand(Session& s);   // "HTML設定をデフォルトに戻す"
void DefaultFontCommand(Session& s); // "デフォルトのフォント"
void ChangeFontCommand(Session& s);  // "フォントを変更する"

void GetToday(Session& s);        // "≪今日の日付"
void GetInformation(Session& s);  // "情報取得"
void ShowVersionInfo(Session& s); // "バージョン情報(&V)"
void OpenOnlineHelp(Session& s);  // "オンラインヘルプ(&O)"
void OpenHomePage(Session& s);    // "開発元ホームページ(&P)"

} // namespace kelvaro
