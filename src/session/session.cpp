#include "session/session.h"

#include "platform/app_info.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

namespace kelvaro {

Session::Session(Host& h, AppFolders folders)
    : host(h), ProgramFolder(std::move(folders.Program)),
      TemplateFolder(std::move(folders.Templates)),
      BrowserPageFolder(std::move(folders.BrowserPage)), GuidePath(std::move(folders.Guide)) {}

Session::Session(Host& h, const std::string& programFolder)
    : Session(h, PortableFolders(programFolder)) {}

std::string BrowserPagePath(const Session& s) {
    return WithTrailingBackslash(s.BrowserPageFolder) + "BrowserSample.html";
}

void ShowInformation(Session& s, const std::string& text) {
    s.host.ShowMessage(MessageRequest{text, AppInfoString(AppInfo::ProductAndVersion),
                                      MessageButtons::Ok, MessageIcon::Information,
                                      MessageAnswer::Ok});
}

void ShowTemplateFolderMissing(Session& s) {
    s.host.ShowMessage(MessageRequest{"テンプレートフォルダ\r\n" + s.TemplateFolder +
                                          "\r\nは、存在しません。\r\n開発元ホームページから、\r\n"
                                          "最新版のテンプレートをダウンロードしてください。",
                                      AppInfoString(AppInfo::ProductAndVersion), MessageButtons::Ok,
                                      MessageIcon::Exclamation, MessageAnswer::Ok});
}

} // namespace kelvaro
