// A page's layout: its grid's columns as wide as their widest control, its
// rows a line high (a box of several lines more), what is left given to the
// controls that fill the width or the height, all in dialog units of the
// window's font at its DPI.

#include "win32/page_view.h"

#include "model/catalogue.h"
#include "model/form_fields.h"
#include "win32/wide_text.h"

#include <commctrl.h>

#include <algorithm>

namespace kelvaro::win32 {
namespace {

// The layout's measures, in dialog units: the page's margin, the gaps
// between cells, the height of a one-line control and the least height of a
// box of several lines, and the room a frame takes around its cells.
constexpr int kMargin = 6;
constexpr int kColumnGap = 4;
constexpr int kRowGap = 3;
constexpr int kLineHeight = 13;
constexpr int kBoxHeight = 40;
constexpr int kFrameTop = 10;
constexpr int kFrameSide = 5;
// What a drop-down list shows below its box.
constexpr int kDropHeight = 120;

bool SeveralLines(ControlKind kind) {
    return kind == ControlKind::TextEditor || kind == ControlKind::TextViewer ||
           kind == ControlKind::OrderList || kind == ControlKind::TemplateList;
}

// Each control's text in pixels: its caption, or for a box what it shows
// (`boxTexts`, by control), bold where emphasis may make it bold. One device
// context for the whole page: a context per control costs Wine dearly.
std::vector<int> MeasureTextsOf(const PageDescription& page,
                                const std::vector<std::wstring>& boxTexts, HDC dc, HFONT ui,
                                HFONT bold) {
    std::vector<int> widths(page.Controls.size(), 0);
    const HGDIOBJ old = SelectObject(dc, ui);
    for (std::size_t i = 0; i < page.Controls.size(); ++i) {
        const ControlDescription& c = page.Controls[i];
        const std::wstring text = !c.Caption.empty()    ? Widen(c.Caption)
                                  : i < boxTexts.size() ? boxTexts[i]
                                                        : std::wstring();
        if (text.empty()) {
            continue;
        }
        SelectObject(dc, c.Emphasis != NoControl && bold != nullptr ? bold : ui);
        RECT r{};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
        widths[i] = r.right - r.left;
    }
    SelectObject(dc, old);
    return widths;
}

int MinWidthOf(const ControlDescription& c, int text, const DialogUnits& units) {
    switch (c.Kind) {
    case ControlKind::Label:
        return text + units.X(1);
    case ControlKind::Frame:
        return text + units.X(2 * kFrameSide);
    case ControlKind::CheckBox:
    case ControlKind::Option:
        return text + units.X(14);
    case ControlKind::Button:
        return std::max(text + units.X(10), units.X(30));
    case ControlKind::LineBox:
        return std::max(text + units.X(8), units.X(40));
    case ControlKind::ChoiceBox:
    case ControlKind::ListBox:
        // Room for the drop-down button as well.
        return std::max(text + units.X(20), units.X(36));
    default:
        return units.X(60);
    }
}

std::vector<int> WidthsOf(const PageDescription& page, const std::vector<int>& texts,
                          const DialogUnits& units) {
    std::vector<int> widths(static_cast<std::size_t>(std::max(page.Columns, 1)), 0);
    // Single cells first, then what spans several columns widens the last.
    for (const bool spanning : {false, true}) {
        for (std::size_t i = 0; i < page.Controls.size(); ++i) {
            const GridPlace& p = page.Controls[i].Place;
            if ((p.ColumnSpan > 1) != spanning || p.Column >= static_cast<int>(widths.size())) {
                continue;
            }
            const int last = std::min(p.Column + p.ColumnSpan, static_cast<int>(widths.size())) - 1;
            int have = 0;
            for (int col = p.Column; col < last; ++col) {
                have += widths[static_cast<std::size_t>(col)] + units.X(kColumnGap);
            }
            const int text = i < texts.size() ? texts[i] : 0;
            int& width = widths[static_cast<std::size_t>(last)];
            width = std::max(width, MinWidthOf(page.Controls[i], text, units) - have);
        }
    }
    return widths;
}

SIZE NeededOf(const PageDescription& page_, const std::vector<int>& texts,
              const DialogUnits& units) {
    int width = 2 * units.X(kMargin);
    for (const int w : WidthsOf(page_, texts, units)) {
        width += w + units.X(kColumnGap);
    }
    int height = 2 * units.Y(kMargin);
    for (int row = 0; row < page_.Rows; ++row) {
        bool tall = false;
        for (const ControlDescription& c : page_.Controls) {
            tall = tall || (c.Place.Row == row && c.Place.RowSpan == 1 && SeveralLines(c.Kind));
        }
        height += units.Y((tall ? kBoxHeight : kLineHeight) + kRowGap);
    }
    for (const ControlDescription& c : page_.Controls) {
        if (c.Kind == ControlKind::Frame) {
            height += units.Y(kFrameTop);
        }
    }
    return {width, height};
}

} // namespace

void PageView::MeasureTexts() {
    textWidths_.assign(controls_.size(), 0);
    if (uiFont_ == nullptr) {
        return; // measured once the fonts are set
    }
    HDC dc = GetDC(panel_);
    // A box is as wide as what it showed first (a default such as
    // "ユーザー入力可能1"), so a new form is never shown cut.
    textWidths_ = MeasureTextsOf(page_, startTexts_, dc, uiFont_, boldFont_.Get());
    ReleaseDC(panel_, dc);
}

int PageView::MinWidth(std::size_t index, const DialogUnits& units) const {
    return MinWidthOf(page_.Controls[index], index < textWidths_.size() ? textWidths_[index] : 0,
                      units);
}

std::vector<int> PageView::Widths(const DialogUnits& units) const {
    return WidthsOf(page_, textWidths_, units);
}

SIZE PageView::Needed(const DialogUnits& units) const {
    return NeededOf(page_, textWidths_, units);
}

SIZE PageView::NeededBeforeMade(Page page, const Session& s, const WindowMetrics& metrics) {
    const PageDescription& description = PageOf(page);
    // What each box would show: the form's text, as long as a first text counts.
    std::vector<std::wstring> boxTexts(description.Controls.size());
    for (std::size_t i = 0; i < description.Controls.size(); ++i) {
        const ControlDescription& c = description.Controls[i];
        if (c.FieldRow == NoControl) {
            continue;
        }
        const FormField& field = FormFields()[static_cast<std::size_t>(c.FieldRow)];
        if (field.Kind == FieldKind::SizeUnit) {
            const auto unit = static_cast<std::size_t>(s.ws.form.SizeUnit);
            if (unit < SizeUnitList().size()) {
                boxTexts[i] = Widen(SizeUnitList()[unit]);
            }
        } else if (const std::string* text = FieldText(s.ws.form, field)) {
            std::wstring wide = Widen(*text);
            boxTexts[i] = wide.size() <= LongestFirstText ? std::move(wide) : std::wstring();
        }
    }
    LOGFONTW bold{};
    GetObjectW(metrics.UiFont(), sizeof(bold), &bold);
    bold.lfWeight = FW_BOLD;
    const OwnedFont boldFont(bold);
    HDC dc = GetDC(nullptr);
    const std::vector<int> texts =
        MeasureTextsOf(description, boxTexts, dc, metrics.UiFont(), boldFont.Get());
    ReleaseDC(nullptr, dc);
    return NeededOf(description, texts, metrics.Units());
}

void PageView::Place(const RECT& area, const DialogUnits& units) {
    MoveWindow(panel_, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    const int rows = std::max(page_.Rows, 1);
    const auto columns = static_cast<int>(std::max(page_.Columns, 1));
    // Columns: each as wide as its widest control; what is left goes to the
    // columns whose controls fill the width, else to every box's column.
    std::vector<int> widths = Widths(units);
    std::vector<bool> grows(widths.size(), false);
    for (const bool anyBox : {false, true}) {
        for (const ControlDescription& c : page_.Controls) {
            const bool box = c.Kind == ControlKind::LineBox || c.Kind == ControlKind::ChoiceBox;
            if ((anyBox ? box : c.FillsWidth) && c.Place.Column < columns) {
                grows[static_cast<std::size_t>(c.Place.Column + c.Place.ColumnSpan - 1)] = true;
            }
        }
        if (std::find(grows.begin(), grows.end(), true) != grows.end()) {
            break;
        }
    }
    int used = 2 * units.X(kMargin) + (columns - 1) * units.X(kColumnGap);
    for (const int w : widths) {
        used += w;
    }
    const auto growing = static_cast<int>(std::count(grows.begin(), grows.end(), true));
    const int spare = std::max(0, static_cast<int>(area.right - area.left) - used);
    for (std::size_t col = 0, given = 0; col < widths.size(); ++col) {
        if (grows[col]) {
            ++given;
            widths[col] += spare / growing +
                           (given == static_cast<std::size_t>(growing) ? spare % growing : 0);
        }
    }
    // Rows: a line each, a box of several lines more; the rows of boxes that
    // fill the height share what is left.
    std::vector<int> heights(static_cast<std::size_t>(rows), units.Y(kLineHeight));
    std::vector<int> above(static_cast<std::size_t>(rows) + 1, 0);
    std::vector<bool> tall(static_cast<std::size_t>(rows), false);
    for (const ControlDescription& c : page_.Controls) {
        const auto last =
            static_cast<std::size_t>(std::min(c.Place.Row + c.Place.RowSpan, rows) - 1);
        if (SeveralLines(c.Kind)) {
            heights[last] = std::max(heights[last], units.Y(kBoxHeight));
        }
        if (c.FillsHeight) {
            tall[last] = true;
        }
        if (c.Kind == ControlKind::Frame) {
            // Room for the frame's caption above its first row and its edge
            // below its last.
            above[static_cast<std::size_t>(c.Place.Row)] += units.Y(kFrameTop);
            above[last + 1] += 3 * units.Y(kRowGap);
        }
    }
    int height = 2 * units.Y(kMargin);
    for (std::size_t row = 0; row < heights.size(); ++row) {
        height += heights[row] + above[row] + units.Y(kRowGap);
    }
    const auto tallRows = static_cast<int>(std::count(tall.begin(), tall.end(), true));
    const int spareHeight = std::max(0, static_cast<int>(area.bottom - area.top) - height);
    for (std::size_t row = 0; row < heights.size(); ++row) {
        if (tall[row]) {
            heights[row] += spareHeight / tallRows;
        }
    }
    std::vector<int> xs(widths.size() + 1, units.X(kMargin));
    for (std::size_t col = 0; col < widths.size(); ++col) {
        xs[col + 1] = xs[col] + widths[col] + units.X(kColumnGap);
    }
    std::vector<int> ys(heights.size() + 1, units.Y(kMargin));
    for (std::size_t row = 0; row < heights.size(); ++row) {
        ys[row] += above[row];
        ys[row + 1] = ys[row] + heights[row] + units.Y(kRowGap);
    }

    HDWP moves = BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ControlDescription& c = page_.Controls[i];
        const auto col = static_cast<std::size_t>(std::min(c.Place.Column, columns - 1));
        const auto row = static_cast<std::size_t>(std::min(c.Place.Row, rows - 1));
        const auto colEnd = std::min<std::size_t>(col + c.Place.ColumnSpan, widths.size());
        const auto rowEnd = std::min<std::size_t>(row + c.Place.RowSpan, heights.size());
        RECT r{xs[col], ys[row], xs[colEnd] - units.X(kColumnGap), ys[rowEnd] - units.Y(kRowGap)};
        if (c.Kind == ControlKind::Frame) {
            InflateRect(&r, units.X(kFrameSide) / 2, 0);
            r.top -= units.Y(kFrameTop);
            // Its edge in the gap below its last row, clear of the next.
            r.bottom = ys[rowEnd - 1] + heights[rowEnd - 1] + 2 * units.Y(kRowGap);
        } else if (c.InFrame != NoControl) {
            InflateRect(&r, -units.X(kFrameSide) / 2, 0);
        }
        if (c.Kind == ControlKind::Button && !c.FillsWidth) {
            r.right = std::min<LONG>(r.right, r.left + MinWidth(i, units));
        }
        int h = r.bottom - r.top;
        if (!SeveralLines(c.Kind) && c.Kind != ControlKind::Frame) {
            // One line: its own height, centred on its row.
            const int line = units.Y(kLineHeight);
            r.top += std::max(0, (h - line) / 2);
            h = line;
        }
        if (c.Kind == ControlKind::ChoiceBox || c.Kind == ControlKind::ListBox) {
            h = units.Y(kDropHeight);
        }
        moves = DeferWindowPos(moves, controls_[i], nullptr, r.left, r.top, r.right - r.left, h,
                               SWP_NOZORDER | SWP_NOACTIVATE);
        if (c.Kind == ControlKind::OrderList) {
            ListView_SetColumnWidth(controls_[i], 0,
                                    r.right - r.left - GetSystemMetrics(SM_CXVSCROLL) - 4);
        }
    }
    EndDeferWindowPos(moves);
}

} // namespace kelvaro::win32
