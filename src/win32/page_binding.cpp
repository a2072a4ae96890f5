// What a page's controls show and store: the form's fields through the field
// table's rows, the long-text editor's held typing, the order list, the
// viewers and the commands the buttons run.

#include "win32/page_view.h"

#include "compose/output.h"
#include "model/catalogue.h"
#include "model/form_fields.h"
#include "session/edits.h"
#include "templates/template_files.h"
#include "templates/template_viewer.h"
#include "win32/wide_text.h"
#include "window/buttons.h"

#include <commctrl.h>
#include <richedit.h>

namespace kelvaro::win32 {
namespace {

std::wstring WindowText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A one-line field never holds a line break: a pasted one becomes a blank.
std::string OneLine(std::wstring text) {
    for (wchar_t& c : text) {
        if (c == L'\r' || c == L'\n') {
            c = L' ';
        }
    }
    return Narrow(text);
}

void SetTextQuietly(HWND control, const std::wstring& text) {
    if (WindowText(control) != text) {
        SetWindowTextW(control, text.c_str());
    }
}

const FormField* FieldOf(const ControlDescription& c) {
    return c.FieldRow >= 0 ? &FormFields()[static_cast<std::size_t>(c.FieldRow)] : nullptr;
}

bool Emphasised(const Workspace& ws, int emphasisIndex) {
    return emphasisIndex >= 0 && static_cast<std::size_t>(emphasisIndex) < ws.ItemEmphasis.size() &&
           ws.ItemEmphasis[static_cast<std::size_t>(emphasisIndex)];
}

// The option of `c`'s group that says what choosing one of them runs and
// which one is chosen; null for an option that stores a field of the form.
const ControlDescription* ChoiceOf(const PageDescription& page, const ControlDescription& c) {
    if (c.Kind != ControlKind::Option) {
        return nullptr;
    }
    for (const ControlDescription& option : page.Controls) {
        if (option.Kind == ControlKind::Option && option.Group == c.Group &&
            option.Choose != nullptr) {
            return &option;
        }
    }
    return nullptr;
}

} // namespace

std::wstring BoxText(std::string_view crlfText) {
    return Widen(crlfText);
}

std::string CoreText(std::wstring_view boxText) {
    // RichEdit ends its lines with CR alone; the core's texts with CR LF.
    std::wstring text;
    text.reserve(boxText.size());
    for (std::size_t i = 0; i < boxText.size(); ++i) {
        const wchar_t c = boxText[i];
        if (c == L'\r' || c == L'\n') {
            text += L"\r\n";
            if (c == L'\r' && i + 1 < boxText.size() && boxText[i + 1] == L'\n') {
                ++i;
            }
        } else {
            text += c;
        }
    }
    return Narrow(text);
}

void PageView::Refresh(Change what) {
    const bool was = showing_;
    showing_ = true;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (page_.Controls[i].RefreshedBy.Has(what)) {
            Show(i);
        }
    }
    if (what == Change::Emphasis || what == Change::Form || what == Change::Order) {
        ShowBold();
    }
    if (what == Change::Form || what == Change::LongText) {
        ShowSpokenNames();
    }
    showing_ = was;
}

void PageView::Show(std::size_t index) {
    const ControlDescription& c = page_.Controls[index];
    HWND control = controls_[index];
    const Form& form = s_.ws.form;
    switch (c.Kind) {
    case ControlKind::TextEditor:
        ShowEditor();
        return;
    case ControlKind::TextViewer: {
        const std::string& text = c.RefreshedBy.Has(Change::Preview)     ? s_.PreviewText
                                  : c.RefreshedBy.Has(Change::Templates) ? s_.TemplateText
                                                                         : s_.InformationText;
        SetTextQuietly(control, BoxText(text));
        return;
    }
    case ControlKind::OrderList:
        ShowOrder(control);
        return;
    case ControlKind::TemplateList:
        SendMessageW(control, LB_RESETCONTENT, 0, 0);
        for (const std::string& name : s_.TemplateList) {
            SendMessageW(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
        }
        return;
    default:
        break;
    }
    if (const ControlDescription* group = ChoiceOf(page_, c)) {
        SendMessageW(control, BM_SETCHECK,
                     group->Chosen(s_) == PlaceInGroup(index) ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    const FormField* field = FieldOf(c);
    if (field == nullptr) {
        return;
    }
    switch (field->Kind) {
    case FieldKind::SizeUnit:
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(form.SizeUnit), 0);
        break;
    case FieldKind::CheckBox: {
        const int value = form.*(field->Number);
        // The third state comes only from a form file; the box shows it.
        SendMessageW(control, BM_SETSTYLE, value == 2 ? BS_AUTO3STATE : BS_AUTOCHECKBOX, FALSE);
        SendMessageW(control, BM_SETCHECK,
                     value == 2 ? BST_INDETERMINATE : (value != 0 ? BST_CHECKED : BST_UNCHECKED),
                     0);
        break;
    }
    case FieldKind::OptionFlag:
        SendMessageW(control, BM_SETCHECK,
                     form.*(field->Number) == static_cast<int>(field->Slot) ? BST_CHECKED
                                                                            : BST_UNCHECKED,
                     0);
        break;
    default:
        if (const std::string* text = FieldText(form, *field)) {
            SetTextQuietly(control, Widen(*text));
        }
        break;
    }
}

void PageView::Store(std::size_t index) {
    const ControlDescription& c = page_.Controls[index];
    HWND control = controls_[index];
    const FormField* field = FieldOf(c);
    if (field == nullptr) {
        return;
    }
    Form& form = s_.ws.form;
    switch (field->Kind) {
    case FieldKind::UserName: {
        std::string name = OneLine(WindowText(control));
        // A name renames its entries in the order list too.
        controller_.Run([&] { SetUserName(s_, static_cast<int>(field->Slot), std::move(name)); });
        return;
    }
    case FieldKind::SizeUnit:
        form.SizeUnit = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
        break;
    case FieldKind::CheckBox: {
        const auto state = SendMessageW(control, BM_GETCHECK, 0, 0);
        form.*(field->Number) = state == BST_INDETERMINATE ? 2 : (state == BST_CHECKED ? 1 : 0);
        // Once the user touches it, it is a plain check box again.
        if (state != BST_INDETERMINATE) {
            SendMessageW(control, BM_SETSTYLE, BS_AUTOCHECKBOX, FALSE);
        }
        break;
    }
    case FieldKind::OptionFlag:
        if (SendMessageW(control, BM_GETCHECK, 0, 0) != BST_CHECKED) {
            return;
        }
        form.*(field->Number) = static_cast<int>(field->Slot);
        break;
    default:
        if (std::string* text = FieldText(form, *field)) {
            *text = OneLine(WindowText(control));
        }
        break;
    }
    NoteFormEdited(s_);
}

void PageView::OnCommand(std::size_t index, int code) {
    if (showing_) {
        return;
    }
    const ControlDescription& c = page_.Controls[index];
    HWND control = controls_[index];
    switch (c.Kind) {
    case ControlKind::TextEditor:
        if (code == EN_CHANGE) {
            editorHeld_ = true;
        }
        return;
    case ControlKind::LineBox:
        if (code == EN_CHANGE) {
            Store(index);
        }
        return;
    case ControlKind::ChoiceBox:
    case ControlKind::ListBox:
        if (code == CBN_SELCHANGE && c.Kind == ControlKind::ChoiceBox) {
            // The box's text follows the chosen entry only after this notice.
            const auto chosen = SendMessageW(control, CB_GETCURSEL, 0, 0);
            if (chosen >= 0) {
                std::wstring text(
                    static_cast<std::size_t>(SendMessageW(control, CB_GETLBTEXTLEN, chosen, 0)) + 1,
                    L'\0');
                SendMessageW(control, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(text.data()));
                showing_ = true;
                SetWindowTextW(control, text.c_str());
                showing_ = false;
            }
        }
        if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE) {
            Store(index);
        }
        return;
    case ControlKind::TemplateList:
        if (code == LBN_SELCHANGE) {
            const auto chosen = SendMessageW(control, LB_GETCURSEL, 0, 0);
            if (chosen >= 0 && static_cast<std::size_t>(chosen) < s_.TemplateList.size()) {
                const std::string name = s_.TemplateList[static_cast<std::size_t>(chosen)];
                controller_.Run([&] { ShowTemplate(s_, name); });
            }
        }
        return;
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::Option:
        if (code != BN_CLICKED) {
            return;
        }
        if (const ControlDescription* group = ChoiceOf(page_, c)) {
            if (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED &&
                group->Chosen(s_) != PlaceInGroup(index)) {
                const int n = PlaceInGroup(index);
                controller_.Run([&] { group->Choose(s_, n); });
            }
        } else if (c.Command != nullptr) {
            // A template loaded into the editor is one step of its undo.
            loadingTemplate_ = c.Command == ButtonOf(ButtonId::LoadTemplate).Command;
            controller_.Run([&] { c.Command(s_); });
            loadingTemplate_ = false;
        } else {
            Store(index);
        }
        return;
    default:
        return;
    }
}

void PageView::ShowEditor() {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (page_.Controls[i].Kind != ControlKind::TextEditor) {
            continue;
        }
        HWND editor = controls_[i];
        const std::wstring text = BoxText(s_.ws.EditorText);
        if (loadingTemplate_) {
            // Through the editor's own undo history: Ctrl+Z brings back what
            // the user had written.
            SendMessageW(editor, EM_SETSEL, 0, -1);
            SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
            SendMessageW(editor, EM_SETSEL, 0, 0);
        } else {
            // Another item's text, a new or opened form: a fresh history.
            SetWindowTextW(editor, text.c_str());
            SendMessageW(editor, EM_EMPTYUNDOBUFFER, 0, 0);
        }
    }
    editorHeld_ = false;
}

void PageView::TakeTyping() {
    if (!editorHeld_) {
        return;
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (page_.Controls[i].Kind == ControlKind::TextEditor) {
            GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_USECRLF, 1200};
            std::wstring text(
                static_cast<std::size_t>(SendMessageW(controls_[i], EM_GETTEXTLENGTHEX,
                                                      reinterpret_cast<WPARAM>(&length), 0)) +
                    1,
                L'\0');
            GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200,
                          nullptr, nullptr};
            text.resize(static_cast<std::size_t>(
                SendMessageW(controls_[i], EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                             reinterpret_cast<LPARAM>(text.data()))));
            s_.ws.EditorText = CoreText(text);
        }
    }
    editorHeld_ = false;
    NoteFormEdited(s_);
}

void PageView::ShowOrder(HWND list) {
    const auto& order = s_.ws.form.Order;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    // Rows are reused: an order of many entries is not rebuilt on every move.
    while (ListView_GetItemCount(list) > static_cast<int>(order.size())) {
        ListView_DeleteItem(list, ListView_GetItemCount(list) - 1);
    }
    while (ListView_GetItemCount(list) < static_cast<int>(order.size())) {
        LVITEMW item{};
        item.iItem = ListView_GetItemCount(list);
        ListView_InsertItem(list, &item);
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto row = static_cast<int>(i);
        std::wstring text = Widen(order[i].Text);
        ListView_SetItemText(list, row, 0, text.data());
        ListView_SetCheckState(list, row, order[i].Checked ? TRUE : FALSE);
        const bool selected = s_.ws.Selected == row;
        ListView_SetItemState(list, row, selected ? LVIS_SELECTED | LVIS_FOCUSED : 0,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    if (s_.ws.Selected >= 0) {
        ListView_EnsureVisible(list, s_.ws.Selected, FALSE);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void PageView::ShowBold() {
    if (boldFont_.Get() == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ControlDescription& c = page_.Controls[i];
        if (c.Emphasis != NoControl) {
            SendMessageW(
                controls_[i], WM_SETFONT,
                reinterpret_cast<WPARAM>(Emphasised(s_.ws, c.Emphasis) ? boldFont_.Get() : uiFont_),
                TRUE);
        } else if (c.Kind == ControlKind::OrderList) {
            InvalidateRect(controls_[i], nullptr, TRUE);
        }
    }
}

int PageView::PlaceInGroup(std::size_t index) const {
    int place = 0;
    for (std::size_t i = 0; i < index; ++i) {
        place += page_.Controls[i].Kind == ControlKind::Option &&
                         page_.Controls[i].Group == page_.Controls[index].Group
                     ? 1
                     : 0;
    }
    return place;
}

LRESULT PageView::OnNotify(std::size_t index, NMHDR& notice) {
    if (page_.Controls[index].Kind != ControlKind::OrderList) {
        return 0;
    }
    auto& order = s_.ws.form.Order;
    if (notice.code == NM_CUSTOMDRAW) {
        auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(notice);
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
            return CDRF_NOTIFYITEMDRAW;
        }
        if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            const std::size_t row = draw.nmcd.dwItemSpec;
            // The entries the ReadMe emphasises stand out in bold.
            const CatalogueItem* item = row < order.size() ? LookupItem(order[row].Key) : nullptr;
            if (item != nullptr && Emphasised(s_.ws, item->EmphasisIndex)) {
                SelectObject(draw.nmcd.hdc, boldFont_.Get());
                return CDRF_NEWFONT;
            }
        }
        return CDRF_DODEFAULT;
    }
    if (notice.code == LVN_BEGINDRAG) {
        // The entry follows the mouse until the button is let go over the
        // place it moves to.
        dragFrom_ = reinterpret_cast<const NMLISTVIEW&>(notice).iItem;
        dragList_ = notice.hwndFrom;
        SetCapture(panel_);
        return 0;
    }
    if (notice.code != LVN_ITEMCHANGED || showing_) {
        return 0;
    }
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(notice);
    if (change.iItem < 0 || static_cast<std::size_t>(change.iItem) >= order.size()) {
        return 0;
    }
    const auto row = static_cast<std::size_t>(change.iItem);
    if ((change.uChanged & LVIF_STATE) == 0) {
        return 0;
    }
    if (((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) != 0) {
        const bool checked = (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
        if (order[row].Checked != checked) {
            controller_.Run([&] { SetEntryChecked(s_, row, checked); });
        }
    }
    if ((change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0 &&
        s_.ws.Selected != change.iItem) {
        controller_.Run([&] { SelectEntry(s_, change.iItem); });
    }
    return 0;
}

void PageView::EndDrag(POINT inPanel) {
    const int from = dragFrom_;
    HWND list = dragList_;
    dragFrom_ = -1;
    dragList_ = nullptr;
    if (GetCapture() == panel_) {
        ReleaseCapture();
    }
    if (from < 0 || list == nullptr) {
        return;
    }
    LVHITTESTINFO hit{};
    hit.pt = inPanel;
    MapWindowPoints(panel_, list, &hit.pt, 1);
    int to = ListView_HitTest(list, &hit);
    RECT client{};
    GetClientRect(list, &client);
    if (to < 0 && PtInRect(&client, hit.pt) != FALSE) {
        // Below the last entry: the end of the list.
        to = ListView_GetItemCount(list) - 1;
    }
    if (to >= 0 && to != from) {
        controller_.Run(
            [&] { MoveEntry(s_, static_cast<std::size_t>(from), static_cast<std::size_t>(to)); });
    }
}

} // namespace kelvaro::win32
