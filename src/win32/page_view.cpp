// The making of a page's controls, their order and their layout.

#include "win32/page_view.h"

#include "model/catalogue.h"
#include "model/form_fields.h"
#include "win32/spoken_name.h"
#include "win32/wide_text.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include <algorithm>

namespace kelvaro::win32 {
namespace {

constexpr wchar_t kPanelClass[] = L"KelvaroPage";
constexpr int kFirstControlId = 1000;
constexpr int kIdsPerPage = 200;

void RegisterPanelClass(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kPanelClass;
        return RegisterClassExW(&wc);
    }();
    (void)atom;
}

struct Made {
    const wchar_t* Class;
    DWORD Style;
    DWORD ExStyle = 0;
};

Made MadeOf(const ControlDescription& c) {
    const DWORD box = WS_TABSTOP | WS_BORDER;
    switch (c.Kind) {
    case ControlKind::Label:
        return {WC_STATICW, SS_LEFT | SS_CENTERIMAGE};
    case ControlKind::Frame:
        return {WC_BUTTONW, BS_GROUPBOX};
    case ControlKind::LineBox:
        return {WC_EDITW, box | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::ChoiceBox:
        return {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL};
    case ControlKind::ListBox:
        return {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
    case ControlKind::CheckBox:
        return {WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX};
    case ControlKind::Option:
        return {WC_BUTTONW, WS_TABSTOP | BS_AUTORADIOBUTTON};
    case ControlKind::Button:
        return {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON};
    case ControlKind::TextEditor:
        // RichEdit 4.1: many steps of undo, and Ctrl+Y redoes them.
        return {MSFTEDIT_CLASS,
                box | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL |
                    ES_AUTOHSCROLL | ES_NOHIDESEL,
                WS_EX_CLIENTEDGE};
    case ControlKind::TextViewer:
        return {WC_EDITW,
                box | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                    ES_AUTOHSCROLL,
                WS_EX_CLIENTEDGE};
    case ControlKind::OrderList:
        return {WC_LISTVIEWW,
                WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
                WS_EX_CLIENTEDGE};
    case ControlKind::TemplateList:
        return {WC_LISTBOXW, WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE};
    }
    return {WC_STATICW, 0};
}

struct Stacking {
    // The controls' indices from the top of the Z order down.
    std::vector<std::size_t> Order;
    // The styles each control takes beyond, or without, its kind's.
    std::vector<DWORD> Add;
    std::vector<DWORD> Remove;
};

Stacking StackingOf(const PageDescription& page) {
    // The Z order is the keyboard's order: each control of the tab order
    // after the label that names it, then what Tab never visits.
    const std::size_t count = page.Controls.size();
    Stacking s{{}, std::vector<DWORD>(count, 0), std::vector<DWORD>(count, 0)};
    std::vector<bool> placed(count, false);
    auto put = [&](std::size_t index) {
        if (!placed[index]) {
            placed[index] = true;
            s.Order.push_back(index);
        }
    };
    const std::string* group = nullptr;
    for (const int tab : page.TabOrder) {
        const auto index = static_cast<std::size_t>(tab);
        const ControlDescription& c = page.Controls[index];
        if (c.LabelledBy != NoControl) {
            put(static_cast<std::size_t>(c.LabelledBy));
        }
        put(index);
        // The options of a group are one stop: Tab enters at the first and
        // the arrow keys move among them.
        const bool sameGroup =
            c.Kind == ControlKind::Option && group != nullptr && *group == c.Group;
        s.Add[index] = sameGroup ? 0 : WS_GROUP;
        s.Remove[index] = sameGroup ? (WS_GROUP | WS_TABSTOP) : 0;
        group = c.Kind == ControlKind::Option ? &c.Group : nullptr;
    }
    for (std::size_t i = 0; i < count; ++i) {
        put(i);
    }
    return s;
}

} // namespace

int ControlId(Page page, std::size_t index) {
    return kFirstControlId + static_cast<int>(page) * kIdsPerPage + static_cast<int>(index);
}

std::string_view ControlName(int id) {
    const int page = (id - kFirstControlId) / kIdsPerPage;
    const int index = (id - kFirstControlId) % kIdsPerPage;
    if (id < kFirstControlId || page >= static_cast<int>(PageCount)) {
        return {};
    }
    const PageDescription& description = PageOf(static_cast<Page>(page));
    if (index >= static_cast<int>(description.Controls.size())) {
        return {};
    }
    return description.Controls[static_cast<std::size_t>(index)].Name;
}

PageView::PageView(HWND owner, Page page, WindowController& controller)
    : which_(page), page_(PageOf(page)), controller_(controller), s_(controller.session()) {
    RegisterPanelClass(&PanelProcedure);
    Make(owner);
    showing_ = true;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        Show(i);
    }
    ShowBold();
    ShowSpokenNames();
    showing_ = false;
}

void PageView::NoteStartTexts() {
    startTexts_.clear();
    for (HWND control : controls_) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        startTexts_.push_back(text.size() <= LongestFirstText ? text : std::wstring());
    }
    MeasureTexts();
}

PageView::~PageView() {
    if (IsWindow(panel_) != FALSE) {
        SetWindowLongPtrW(panel_, GWLP_USERDATA, 0);
    }
}

void PageView::Make(HWND owner) {
    // A control parent: Tab and mnemonics walk into the page's controls.
    panel_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0,
                             0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(panel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Each control is made in its place in the Z order and with its final
    // group and tab-stop styles: a child is made below its siblings, so
    // making them in order spares a restacking and a style change of each
    // afterwards, every one of them a round trip to the window server.
    const Stacking stacking = StackingOf(page_);
    controls_.assign(page_.Controls.size(), nullptr);
    for (const std::size_t i : stacking.Order) {
        const ControlDescription& c = page_.Controls[i];
        const Made made = MadeOf(c);
        const DWORD style = (made.Style | stacking.Add[i]) & ~stacking.Remove[i];
        if (c.Kind == ControlKind::TextEditor) {
            // The editor's class lives in msftedit.dll, loaded once, by the
            // first page that has an editor.
            static const HMODULE richEdit = LoadLibraryW(L"msftedit.dll");
            (void)richEdit;
        }
        HWND control = CreateWindowExW(
            made.ExStyle, made.Class, Widen(c.Caption).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
            0, 0, panel_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(which_, i))),
            GetModuleHandleW(nullptr), nullptr);
        controls_[i] = control;
        if (c.Kind == ControlKind::TextEditor) {
            SendMessageW(control, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO, 0);
            SendMessageW(control, EM_SETEVENTMASK, 0, ENM_CHANGE);
            // No limit but memory: a long text is as long as the user writes it.
            SendMessageW(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
        } else if (c.Kind == ControlKind::OrderList) {
            ListView_SetExtendedListViewStyle(control, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
            LVCOLUMNW column{};
            column.mask = LVCF_WIDTH;
            column.cx = 100;
            ListView_InsertColumn(control, 0, &column);
        } else if (c.Kind == ControlKind::LineBox || c.Kind == ControlKind::TextViewer) {
            SendMessageW(control, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
        }
        if (c.FieldRow >= 0) {
            const FormField& field = FormFields()[static_cast<std::size_t>(c.FieldRow)];
            if (field.Kind == FieldKind::SizeUnit) {
                for (std::string_view unit : SizeUnitList()) {
                    SendMessageW(control, CB_ADDSTRING, 0,
                                 reinterpret_cast<LPARAM>(Widen(unit).c_str()));
                }
            } else if (field.Kind == FieldKind::Choice) {
                for (std::string_view choice : ChoiceSuggestions(static_cast<int>(field.Slot))) {
                    SendMessageW(control, CB_ADDSTRING, 0,
                                 reinterpret_cast<LPARAM>(Widen(choice).c_str()));
                }
            }
        }
    }
}

std::wstring PageView::SpokenOf(const ControlDescription& c) const {
    if (c.SpokenBy != NoControl) {
        // What the user named the item.
        HWND box = controls_[static_cast<std::size_t>(c.SpokenBy)];
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    if (c.Kind == ControlKind::TextEditor) {
        // The editor is called after the item it edits, the option chosen.
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            if (page_.Controls[i].Kind == ControlKind::Option &&
                SendMessageW(controls_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
                return SpokenOf(page_.Controls[i]);
            }
        }
    }
    if (!c.Spoken.empty()) {
        return Widen(c.Spoken);
    }
    std::wstring caption = Widen(
        c.LabelledBy != NoControl ? page_.Controls[static_cast<std::size_t>(c.LabelledBy)].Caption
                                  : c.Caption);
    // As Windows says a label: its mnemonic's marker left out.
    std::erase(caption, L'&');
    return caption;
}

void PageView::ShowSpokenNames() {
    for (const int index : page_.TabOrder) {
        const ControlDescription& c = page_.Controls[static_cast<std::size_t>(index)];
        // Screen readers name an EDIT after the label before it; every other
        // kind, and a box that label does not name, is told its name.
        if ((c.Kind != ControlKind::LineBox && c.Kind != ControlKind::TextViewer) ||
            c.LabelledBy == NoControl || c.SpokenBy != NoControl || !c.Spoken.empty()) {
            SetSpokenName(controls_[static_cast<std::size_t>(index)], SpokenOf(c));
        }
    }
}

bool PageView::FollowsPickedColour(std::size_t index) const {
    return page_.Controls[index].TakesBoxFont && !UsesThemeTextColour(s_.BoxFont);
}

HWND PageView::Find(std::string_view name) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (page_.Controls[i].Name == name) {
            return controls_[i];
        }
    }
    return nullptr;
}

void PageView::SetFonts(const WindowMetrics& metrics) {
    uiFont_ = metrics.UiFont();
    LOGFONTW bold{};
    GetObjectW(uiFont_, sizeof(bold), &bold);
    bold.lfWeight = FW_BOLD;
    boldFont_ = OwnedFont(bold);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ControlKind kind = page_.Controls[i].Kind;
        // The boxes the ReadMe's text is written and read in use the boxes'
        // font, whose columns line up as the ReadMe's will.
        const bool box = kind == ControlKind::TextEditor || kind == ControlKind::TextViewer;
        SendMessageW(controls_[i], WM_SETFONT,
                     reinterpret_cast<WPARAM>(box ? metrics.BoxFont() : uiFont_), FALSE);
        if (kind == ControlKind::TextEditor) {
            // The text colour the user picked; until then the theme's.
            CHARFORMAT2W format{};
            format.cbSize = sizeof(format);
            format.dwMask = CFM_COLOR;
            const Colour& c = s_.BoxFont.TextColour;
            format.crTextColor = RGB(c.Red, c.Green, c.Blue);
            format.dwEffects = FollowsPickedColour(i) ? 0 : CFE_AUTOCOLOR;
            // The text there now and the text that comes later alike.
            for (const WPARAM which : {WPARAM{SCF_ALL}, WPARAM{SCF_DEFAULT}}) {
                SendMessageW(controls_[i], EM_SETCHARFORMAT, which,
                             reinterpret_cast<LPARAM>(&format));
            }
        }
    }
    // One redraw of the whole page rather than one per control.
    RedrawWindow(panel_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    ShowBold();
    MeasureTexts();
}

LRESULT CALLBACK PageView::PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PageView*>(GetWindowLongPtrW(panel, GWLP_USERDATA));
    if (self != nullptr) {
        if (message == WM_COMMAND && lParam != 0) {
            const int index = LOWORD(wParam) - ControlId(self->which_, 0);
            if (index >= 0 && static_cast<std::size_t>(index) < self->controls_.size()) {
                self->OnCommand(static_cast<std::size_t>(index), HIWORD(wParam));
                return 0;
            }
        } else if (message == WM_LBUTTONUP && self->dragFrom_ >= 0) {
            self->EndDrag(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        } else if (message == WM_CAPTURECHANGED && self->dragFrom_ >= 0 &&
                   reinterpret_cast<HWND>(lParam) != panel) {
            // Escape or another window took the mouse: the drag is off.
            self->dragFrom_ = -1;
            self->dragList_ = nullptr;
        } else if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT) {
            const LRESULT brush = DefWindowProcW(panel, message, wParam, lParam);
            const int index =
                GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) - ControlId(self->which_, 0);
            if (index >= 0 && static_cast<std::size_t>(index) < self->controls_.size() &&
                self->FollowsPickedColour(static_cast<std::size_t>(index))) {
                const Colour& c = self->s_.BoxFont.TextColour;
                SetTextColor(reinterpret_cast<HDC>(wParam), RGB(c.Red, c.Green, c.Blue));
            }
            return brush;
        } else if (message == WM_NOTIFY) {
            auto* notice = reinterpret_cast<NMHDR*>(lParam);
            const auto index = static_cast<int>(notice->idFrom) - ControlId(self->which_, 0);
            if (index >= 0 && static_cast<std::size_t>(index) < self->controls_.size()) {
                return self->OnNotify(static_cast<std::size_t>(index), *notice);
            }
        }
    }
    return DefWindowProcW(panel, message, wParam, lParam);
}

} // namespace kelvaro::win32
