#include "win32/win32_host.h"

#include "platform/error.h"
#include "platform/local_time.h"
#include "win32/late_bound.h"
#include "win32/wide_text.h"
#include "win32/window_fonts.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace kelvaro::win32 {
namespace {

// Long paths: the dialogs may return up to the system's limit.
constexpr DWORD kPathCapacity = 32768;

const wchar_t kYes[] = L"はい(&Y)";
const wchar_t kNo[] = L"いいえ(&N)";
const wchar_t kCancel[] = L"キャンセル";
const wchar_t kOk[] = L"OK";

PCWSTR TaskDialogIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return TD_INFORMATION_ICON;
    case MessageIcon::Exclamation:
        return TD_WARNING_ICON;
    case MessageIcon::Critical:
        return TD_ERROR_ICON;
    case MessageIcon::None:
        break;
    }
    return nullptr;
}

UINT MessageBoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    case MessageIcon::Exclamation:
        return MB_ICONWARNING;
    case MessageIcon::Critical:
        return MB_ICONERROR;
    case MessageIcon::None:
        break;
    }
    return 0;
}

// The core joins lines with CR LF; a task dialog breaks lines at LF alone and
// would show the CR as a gap.
std::wstring BoxText(const std::string& text) {
    std::wstring wide = Widen(text);
    std::erase(wide, L'\r');
    return wide;
}

// The common dialogs, loaded at their first use: with the print spooler they
// pull in, they would cost every start the time of loading them.
constexpr wchar_t kCommonDialogs[] = L"comdlg32.dll";

using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// Task dialogs exist only in common controls 6, which the program's manifest
// asks for. Looked up at run time so that a program started without that
// manifest still starts and falls back to the plain message box.
TaskDialogIndirectFn FindTaskDialog() {
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    if (controls == nullptr) {
        controls = LoadLibraryW(L"comctl32.dll");
    }
    if (controls == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<TaskDialogIndirectFn>(
        reinterpret_cast<void*>(GetProcAddress(controls, "TaskDialogIndirect")));
}

int ShowPlainMessageBox(HWND owner, const MessageRequest& request) {
    UINT type = MessageBoxIcon(request.Icon);
    const int defaultId = DefaultButtonId(request);
    switch (request.Buttons) {
    case MessageButtons::Ok:
        type |= MB_OK;
        break;
    case MessageButtons::YesNo:
        type |= MB_YESNO | (defaultId == IDNO ? MB_DEFBUTTON2 : MB_DEFBUTTON1);
        break;
    case MessageButtons::YesNoCancel:
        type |= MB_YESNOCANCEL | (defaultId == IDNO       ? MB_DEFBUTTON2
                                  : defaultId == IDCANCEL ? MB_DEFBUTTON3
                                                          : MB_DEFBUTTON1);
        break;
    }
    return MessageBoxW(owner, Widen(request.Text).c_str(), Widen(request.Title).c_str(), type);
}

// The part after the last folder separator of either kind.
std::string_view FileNamePart(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

int FilterCount(std::string_view filter) {
    if (filter.empty()) {
        return 0;
    }
    return static_cast<int>((std::count(filter.begin(), filter.end(), '|') + 1) / 2);
}

// Another program (a clipboard manager, a remote desktop) may hold the
// clipboard for a moment; a copy should not fail for that.
bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner) != FALSE) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

} // namespace

std::wstring FilterList(std::string_view filter) {
    if (filter.empty()) {
        return {};
    }
    std::wstring list = Widen(filter);
    std::replace(list.begin(), list.end(), L'|', L'\0');
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

DWORD FileDialogFlags(const FileDialogOptions& options) {
    // The dialog must not move the process's current folder: relative paths
    // given on the command line are resolved against it later.
    DWORD flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
    if (options.OverwritePrompt) {
        flags |= OFN_OVERWRITEPROMPT;
    }
    if (options.FileMustExist) {
        flags |= OFN_FILEMUSTEXIST;
    }
    if (options.PathMustExist) {
        flags |= OFN_PATHMUSTEXIST;
    }
    if (options.HideReadOnly) {
        flags |= OFN_HIDEREADONLY;
    }
    return flags;
}

std::wstring ProposedName(const FileDialogRequest& request) {
    if (!request.InitialFolder.empty()) {
        return Widen(FileNamePart(request.InitialFileName));
    }
    return WidenPath(request.InitialFileName);
}

int DefaultButtonId(const MessageRequest& request) {
    switch (request.Buttons) {
    case MessageButtons::Ok:
        return IDOK;
    case MessageButtons::YesNo:
        return request.DefaultButton == MessageAnswer::No ? IDNO : IDYES;
    case MessageButtons::YesNoCancel:
        return request.DefaultButton == MessageAnswer::Cancel ? IDCANCEL
               : request.DefaultButton == MessageAnswer::No   ? IDNO
                                                              : IDYES;
    }
    return IDOK;
}

MessageAnswer AnswerOfButton(int id, MessageButtons buttons) {
    if (buttons != MessageButtons::Ok && id == IDYES) {
        return MessageAnswer::Yes;
    }
    if (buttons != MessageButtons::Ok && id == IDNO) {
        return MessageAnswer::No;
    }
    // Escape, the close box, or a box that never showed: the answer that
    // changes nothing.
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

FontChoice ChoiceOf(const LOGFONTW& font, int pointTenths, COLORREF colour,
                    const FontChoice& preset) {
    FontChoice choice;
    choice.Font.Name = Narrow(font.lfFaceName);
    choice.Font.SizePoints = pointTenths / 10.0;
    choice.Font.Bold = font.lfWeight >= FW_SEMIBOLD;
    choice.Font.Italic = font.lfItalic != FALSE;
    choice.Font.Underline = font.lfUnderline != FALSE;
    choice.Font.Strikethrough = font.lfStrikeOut != FALSE;
    choice.TextColour = Colour{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    // The dialog cannot tell whether the colour box was touched: a colour is
    // picked once it differs from the one the dialog opened with, so keeping
    // the theme's default leaves the boxes following the theme.
    choice.ColourPicked = preset.ColourPicked || choice.TextColour != preset.TextColour;
    return choice;
}

Win32Host::~Win32Host() {
    if (clipboardWindow_ != nullptr) {
        DestroyWindow(clipboardWindow_);
    }
}

MessageAnswer Win32Host::ShowMessage(const MessageRequest& request) {
    const TaskDialogIndirectFn taskDialog = FindTaskDialog();
    if (taskDialog == nullptr) {
        return AnswerOfButton(ShowPlainMessageBox(owner_, request), request.Buttons);
    }

    std::vector<TASKDIALOG_BUTTON> buttons;
    if (request.Buttons == MessageButtons::Ok) {
        buttons.push_back({IDOK, kOk});
    } else {
        buttons.push_back({IDYES, kYes});
        buttons.push_back({IDNO, kNo});
        if (request.Buttons == MessageButtons::YesNoCancel) {
            buttons.push_back({IDCANCEL, kCancel});
        }
    }
    const std::wstring title = Widen(request.Title);
    const std::wstring text = BoxText(request.Text);

    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner_;
    // Escape and the close box answer with IDCANCEL, which AnswerOfButton
    // reads as the answer that changes nothing.
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TaskDialogIcon(request.Icon);
    config.pszContent = text.c_str();
    config.cButtons = static_cast<UINT>(buttons.size());
    config.pButtons = buttons.data();
    config.nDefaultButton = DefaultButtonId(request);

    int pressed = 0;
    if (FAILED(taskDialog(&config, &pressed, nullptr, nullptr))) {
        return AnswerOfButton(ShowPlainMessageBox(owner_, request), request.Buttons);
    }
    return AnswerOfButton(pressed, request.Buttons);
}

std::optional<FileDialogResult> Win32Host::ShowFileDialog(const FileDialogRequest& request) {
    const std::wstring filter = FilterList(request.Filter);
    const std::wstring title = Widen(request.Title);
    const std::wstring folder = WidenPath(request.InitialFolder);
    const std::wstring extension = Widen(request.DefaultExtension);
    std::vector<wchar_t> file(kPathCapacity, L'\0');
    std::vector<wchar_t> fileTitle(kPathCapacity, L'\0');
    const std::wstring proposed = ProposedName(request);
    std::copy_n(proposed.begin(), std::min<size_t>(proposed.size(), kPathCapacity - 1),
                file.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrFileTitle = fileTitle.data();
    dialog.nMaxFileTitle = kPathCapacity;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.Flags = FileDialogFlags(request.Options);
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();

    const bool save = request.Kind == FileDialogKind::Save;
    const auto dialogFunction =
        save ? LateBound<decltype(&GetSaveFileNameW)>(kCommonDialogs, "GetSaveFileNameW")
             : LateBound<decltype(&GetOpenFileNameW)>(kCommonDialogs, "GetOpenFileNameW");
    const auto lastError =
        LateBound<decltype(&CommDlgExtendedError)>(kCommonDialogs, "CommDlgExtendedError");
    if (dialogFunction == nullptr || lastError == nullptr) {
        return std::nullopt;
    }
    auto show = [&] { return dialogFunction(&dialog) != FALSE; };
    bool chosen = show();
    // A remembered name the dialog refuses (a file since renamed to
    // something odd, a folder gone) must not keep the dialog from opening.
    if (!chosen && lastError() == FNERR_INVALIDFILENAME && file[0] != L'\0') {
        std::fill(file.begin(), file.end(), L'\0');
        chosen = show();
    }
    if (!chosen) {
        return std::nullopt;
    }
    const int filters = FilterCount(request.Filter);
    const int index =
        std::clamp(static_cast<int>(dialog.nFilterIndex) - 1, 0, std::max(filters - 1, 0));
    return FileDialogResult{Narrow(file.data()), Narrow(fileTitle.data()), index};
}

FontChoice Win32Host::ShowFontDialog(const FontChoice& preset) {
    // ChooseFontW measures the point size it reports against the screen.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    LOGFONTW font = LogFontOf(preset.Font, dpi);
    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpLogFont = &font;
    // Vertical (@) faces make no sense for the boxes' horizontal text.
    dialog.Flags = CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_NOVERTFONTS;
    dialog.rgbColors = RGB(preset.TextColour.Red, preset.TextColour.Green, preset.TextColour.Blue);
    const auto chooseFont = LateBound<decltype(&ChooseFontW)>(kCommonDialogs, "ChooseFontW");
    if (chooseFont == nullptr || chooseFont(&dialog) == FALSE) {
        return preset;
    }
    return ChoiceOf(font, dialog.iPointSize, dialog.rgbColors, preset);
}

HWND Win32Host::ClipboardOwner() {
    if (owner_ != nullptr) {
        return owner_;
    }
    // A clipboard opened without a window cannot be written to, so before
    // the main window exists a message-only window stands in.
    if (clipboardWindow_ == nullptr) {
        clipboardWindow_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                           GetModuleHandleW(nullptr), nullptr);
    }
    return clipboardWindow_;
}

void Win32Host::SetClipboardText(const std::string& text) {
    const std::wstring wide = Widen(text);
    if (!OpenClipboardPatiently(ClipboardOwner())) {
        throw RuntimeError(ErrorNo::ClipboardOpen);
    }
    struct Closer {
        ~Closer() { CloseClipboard(); }
    } closer;
    EmptyClipboard();
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        throw RuntimeError(ErrorNo::ClipboardOpen);
    }
    void* target = GlobalLock(memory);
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory);
    // Once set, the clipboard owns the memory; only a refused one is ours.
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
        throw RuntimeError(ErrorNo::ClipboardOpen);
    }
}

void Win32Host::OpenDocument(const std::string& pathOrAddress, const std::string& workingFolder) {
    const bool address = pathOrAddress.find("://") != std::string::npos;
    const std::wstring target = address ? Widen(pathOrAddress) : WidenPath(pathOrAddress);
    const std::wstring folder = WidenPath(workingFolder);
    ShellExecuteW(owner_, nullptr, target.c_str(), nullptr,
                  folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
}

std::string Win32Host::TodayText() {
    return TodayShortDate(); // the user's short date format, as the platform reads it
}

} // namespace kelvaro::win32
