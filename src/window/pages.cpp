#include "window/pages.h"

#include "compose/output.h"
#include "model/catalogue.h"
#include "model/form_fields.h"
#include "session/edits.h"
#include "window/buttons.h"
#include "window/check_boxes.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace kelvaro {
namespace {

using CK = ControlKind;

std::string Indexed(std::string_view name, int index) {
    return std::string(name) + "_" + std::to_string(index);
}

// The row of FormFields() a control shows and stores; NoControl when none
// matches, which the window's test reports as an unbound field.
int RowOf(FieldKind kind, std::size_t slot = 0, int Form::*number = nullptr,
          std::string Form::*text = nullptr) {
    const auto fields = FormFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FormField& f = fields[i];
        if (f.Kind == kind && f.Slot == slot && f.Number == number && f.Text == text) {
            return static_cast<int>(i);
        }
    }
    return NoControl;
}

bool Focusable(ControlKind kind) {
    return kind != CK::Label && kind != CK::Frame;
}

// Collects one page's controls; the grid grows to hold every place, and Tab
// reads the page as it is read: row by row, each row from left to right.
class PageBuilder {
public:
    explicit PageBuilder(Page which) { page_.Which = which; }

    int Add(ControlDescription control) {
        page_.Rows = std::max(page_.Rows, control.Place.Row + control.Place.RowSpan);
        page_.Columns = std::max(page_.Columns, control.Place.Column + control.Place.ColumnSpan);
        page_.Controls.push_back(std::move(control));
        return static_cast<int>(page_.Controls.size()) - 1;
    }

    int Label(std::string caption, std::string name, GridPlace place, ChangeSet refreshedBy = {}) {
        return Add({.Kind = CK::Label,
                    .Caption = std::move(caption),
                    .Name = std::move(name),
                    .Place = place,
                    .RefreshedBy = refreshedBy});
    }

    int Button(ButtonId id, GridPlace place) {
        const ButtonDescription& b = ButtonOf(id);
        return Add({.Kind = CK::Button,
                    .Caption = std::string(b.Caption),
                    .Name = std::string(b.Name),
                    .Spoken = std::string(b.Spoken),
                    .Place = place,
                    .Command = b.Command});
    }

    int Check(CheckId id, GridPlace place) {
        const CheckDescription& c = CheckOf(id);
        return Add({.Kind = CK::CheckBox,
                    .Caption = std::string(c.Caption),
                    .Name = std::string(c.Name),
                    .Place = place,
                    .FieldRow = RowOf(FieldKind::CheckBox, 0, c.Field),
                    .RefreshedBy = {Change::Form}});
    }

    // A one-line box of a field, named by `label` (or by `spoken`).
    int Box(std::string name, GridPlace place, int fieldRow, int label = NoControl,
            std::string spoken = {}) {
        return Add({.Kind = CK::LineBox,
                    .Name = std::move(name),
                    .Spoken = std::move(spoken),
                    .LabelledBy = label,
                    .Place = place,
                    .FillsWidth = true,
                    .FieldRow = fieldRow,
                    .RefreshedBy = {Change::Form}});
    }

    ControlDescription& At(int index) { return page_.Controls[static_cast<std::size_t>(index)]; }

    PageDescription Done() && {
        for (std::size_t i = 0; i < page_.Controls.size(); ++i) {
            if (Focusable(page_.Controls[i].Kind)) {
                page_.TabOrder.push_back(static_cast<int>(i));
            }
        }
        std::stable_sort(page_.TabOrder.begin(), page_.TabOrder.end(), [this](int a, int b) {
            const GridPlace& pa = page_.Controls[static_cast<std::size_t>(a)].Place;
            const GridPlace& pb = page_.Controls[static_cast<std::size_t>(b)].Place;
            return std::pair(pa.Row, pa.Column) < std::pair(pb.Row, pb.Column);
        });
        return std::move(page_);
    }

private:
    PageDescription page_;
};

// A user item's name box: it says which item it names ("追加1の項目名").
int UserNameBox(PageBuilder& page, const CatalogueItem& item, GridPlace place) {
    return page.Add(
        {.Kind = CK::LineBox,
         .Name = Indexed("TopicsAdd", item.UserIndex),
         .Spoken = std::string(item.Key) + "の項目名",
         .Place = place,
         .FillsWidth = true,
         .FieldRow = RowOf(FieldKind::UserName, static_cast<std::size_t>(item.UserIndex)),
         .RefreshedBy = {Change::Form, Change::Emphasis},
         .Emphasis = item.EmphasisIndex});
}

// The single-line items in two columns of label and value: the software
// itself on the left, its requirements and contacts on the right. The date
// and the size have a third cell beside their value: the date's button and
// the size's unit.
PageDescription LinesPage() {
    PageBuilder page(Page::Lines);
    constexpr int kLeftLabel = 0;
    constexpr int kRightLabel = 3;
    int leftRow = 0;
    int rightRow = 0;
    for (const CatalogueItem& item : Catalogue()) {
        const bool user = item.Kind == ItemKind::UserSingleLine;
        if (!user && item.Kind != ItemKind::SingleLine && item.Kind != ItemKind::SizeWithUnit &&
            item.Kind != ItemKind::Choice) {
            continue;
        }
        const bool left = user ? item.UserIndex == 0 : item.ControlIndex < 8;
        const int row = left ? leftRow++ : rightRow++;
        const int column = left ? kLeftLabel : kRightLabel;
        const bool extra = item.Kind == ItemKind::SizeWithUnit || item.Key == "作成日";
        // A left value without a cell beside it takes that cell too.
        const GridPlace valuePlace{row, column + 1, 1, left && !extra ? 2 : 1};

        int label = NoControl;
        int name = NoControl;
        if (user) {
            name = UserNameBox(page, item, {row, column});
        } else {
            label = page.Label(std::string(item.Key), Indexed("TopicsLine", item.ControlIndex),
                               {row, column}, {Change::Emphasis});
            page.At(label).Emphasis = item.EmphasisIndex;
        }
        int value = NoControl;
        if (item.Kind == ItemKind::Choice) {
            const auto slot = static_cast<std::size_t>(item.Slot);
            value = page.Add({.Kind = CK::ChoiceBox,
                              .Name = Indexed("ComboTopics", item.Slot),
                              .LabelledBy = label,
                              .Place = valuePlace,
                              .FillsWidth = true,
                              .FieldRow = RowOf(FieldKind::Choice, slot),
                              .RefreshedBy = {Change::Form}});
        } else {
            value =
                page.Box(Indexed("TopicsLineText", item.Slot), valuePlace,
                         RowOf(FieldKind::LineValue, static_cast<std::size_t>(item.Slot)), label);
        }
        if (user) {
            // The value is called what the user named the item.
            page.At(value).SpokenBy = name;
        }
        if (item.Kind == ItemKind::SizeWithUnit) {
            page.Add({.Kind = CK::ListBox,
                      .Name = "ComboSize",
                      .Spoken = std::string(item.Key) + "の単位",
                      .Place = {row, column + 2},
                      .FieldRow = RowOf(FieldKind::SizeUnit),
                      .RefreshedBy = {Change::Form}});
        } else if (extra) {
            page.Button(ButtonId::GetToday, {row, column + 2});
        }
    }
    return std::move(page).Done();
}

// The long-text items as options in a frame of three columns (each option
// takes two cells, so a user item's name box stands beside its option), the
// one editor for the chosen item, and the template buttons under it.
PageDescription LongTextsPage() {
    PageBuilder page(Page::LongTexts);
    constexpr int kColumns = 3;
    constexpr int kOptionRows = (static_cast<int>(LongTextCount) + kColumns - 1) / kColumns;
    const int frame = page.Add({.Kind = CK::Frame,
                                .Caption = "長文項目",
                                .Name = "TopicsFrame",
                                .Place = {0, 0, kOptionRows, 2 * kColumns},
                                .FillsWidth = true});
    for (int slot = 0; slot < static_cast<int>(LongTextCount); ++slot) {
        const CatalogueItem& item = *LookupItem(LongItemKey(slot));
        const bool user = item.Kind == ItemKind::UserLongText;
        // The user items follow the last fixed one in the bottom row, each
        // option in the first of its two cells and its name box in the second.
        const GridPlace place{slot / kColumns, 2 * (slot % kColumns), 1, user ? 1 : 2};
        const int option =
            page.Add({.Kind = CK::Option,
                      .Caption = user ? std::string() : std::string(item.Key),
                      .Name = Indexed("OptTopics", slot),
                      .InFrame = frame,
                      .Place = place,
                      .Group = "OptTopicsGroup",
                      .RefreshedBy = {Change::Emphasis, Change::LongText},
                      .Choose = &SelectLongItem,
                      .Chosen = [](const Session& s) { return s.ws.CurrentLongItem; }});
        if (!user) {
            page.At(option).Emphasis = item.EmphasisIndex;
        }
        if (user) {
            const int name = UserNameBox(page, item, {place.Row, place.Column + 1});
            page.At(name).InFrame = frame;
            page.At(option).SpokenBy = name;
            page.At(option).RefreshedBy = {Change::Emphasis, Change::LongText, Change::Form};
        }
    }
    // A screen reader calls the editor after the chosen item (so it is shown
    // anew when the item or a user item's name changes); "長文項目" while no
    // item is chosen.
    page.Add({.Kind = CK::TextEditor,
              .Name = "Description",
              .Spoken = "長文項目",
              .Place = {kOptionRows, 0, 1, 2 * kColumns},
              .FillsHeight = true,
              .FillsWidth = true,
              .RefreshedBy = {Change::LongText, Change::Fonts, Change::Form},
              .TakesBoxFont = true});
    page.Button(ButtonId::LoadTemplate, {kOptionRows + 1, 2 * kColumns - 2});
    page.Button(ButtonId::SaveTemplate, {kOptionRows + 1, 2 * kColumns - 1});
    return std::move(page).Done();
}

// The item order as a list of check boxes with the moves beside it, the
// check commands under it in two columns, and whether empty items are skipped.
PageDescription OrderPage() {
    struct OrderCommand {
        const char* Caption;
        const char* Spoken;
        void (*Command)(Session&);
    };
    constexpr std::array<OrderCommand, 2> kMoves{
        {{"▲", "上へ移動", &MoveEntryUp}, {"▼", "下へ移動", &MoveEntryDown}}};
    constexpr std::array<OrderCommand, 4> kChecks{{
        {"すべてにチェックをつける", "", &CheckAll},
        {"すべてのチェックをはずす", "", &UncheckAll},
        {"すべてのチェックの反転", "", &InvertChecks},
        {"リストをデフォルトに戻す", "", &ResetOrderToDefault},
    }};
    PageBuilder page(Page::Order);
    const int caption = page.Label("項目順序の並び替え", "TopicsSort", {0, 0, 1, 2});
    page.Add({.Kind = CK::OrderList,
              .Name = "SortList",
              .LabelledBy = caption,
              .Place = {1, 0, 2, 2},
              .FillsHeight = true,
              .FillsWidth = true,
              .RefreshedBy = {Change::Order}});
    for (std::size_t i = 0; i < kMoves.size(); ++i) {
        const int n = static_cast<int>(i);
        page.Add({.Kind = CK::Button,
                  .Caption = kMoves[i].Caption,
                  .Name = Indexed("CmdListUpDown", n),
                  .Spoken = kMoves[i].Spoken,
                  .Place = {1 + n, 2},
                  .Command = kMoves[i].Command});
    }
    for (std::size_t i = 0; i < kChecks.size(); ++i) {
        const int n = static_cast<int>(i);
        page.Add({.Kind = CK::Button,
                  .Caption = kChecks[i].Caption,
                  .Name = Indexed("CmdListAllCheck", n),
                  .Place = {3 + n / 2, n % 2},
                  .FillsWidth = true,
                  .Command = kChecks[i].Command});
    }
    page.Check(CheckId::SkipEmptyItems, {5, 0, 1, 2});
    return std::move(page).Done();
}

// Read along the first row: 区切り線 [characters] を [count] 回繰り返す, the
// assist that finds the count under the count, then the brackets and the
// replacement options.
PageDescription OtherPage() {
    PageBuilder page(Page::Other);
    const std::array<const char*, 5> captions{"区切り線", "を", "回繰り返す", "括弧", "置換"};
    const std::array<GridPlace, 5> places{{{0, 0}, {0, 2}, {0, 4}, {2, 0}, {3, 0}}};
    std::array<int, 5> labels{};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        labels[i] = page.Label(captions[i], Indexed("TopicsOther", static_cast<int>(i)), places[i]);
    }
    // The labels lead to the boxes they stand before; the count reads as what
    // the row says of it, the brackets by their side.
    page.Box("TopicsOtherPauseChar", {0, 1}, RowOf(FieldKind::Text, 0, nullptr, &Form::PauseChars),
             labels[0]);
    page.Box("TopicsOtherPauseNum", {0, 3}, RowOf(FieldKind::Text, 0, nullptr, &Form::PauseCount),
             labels[1], "区切り線を繰り返す回数");
    page.Button(ButtonId::GetPauseNum, {1, 3, 1, 2});
    page.Box("TopicsOtherLeftChar", {2, 1}, RowOf(FieldKind::Text, 0, nullptr, &Form::LeftBracket),
             labels[3], "左の括弧");
    page.Box("TopicsOtherRightChar", {2, 2, 1, 2},
             RowOf(FieldKind::Text, 0, nullptr, &Form::RightBracket), NoControl, "右の括弧");
    page.Check(CheckId::UseReplacement, {3, 1, 1, 4});
    page.Check(CheckId::ReplaceUserInput, {4, 1, 1, 4});
    return std::move(page).Done();
}

// The page's background (colour or picture, each option before its box), the
// seven style settings under it, the separator as <HR> and the reset.
PageDescription HtmlPage() {
    constexpr std::array<const char*, 2> kBackgrounds{"背景色を使用する", "背景画像を使用する"};
    constexpr std::array<const char*, 2> kBackgroundBoxes{"背景色", "背景画像"};
    constexpr std::array<const char*, HtmlSettingCount - HtmlSetting::LinkStyle> kStyles{
        "Link", "Active Link", "Visited Link", "Hover Link", "BODY", "区切り線", "括弧項目"};
    constexpr int kColumns = 5;
    PageBuilder page(Page::Html);
    page.Label("背景", "TopicsHTML_0", {0, 0, 1, kColumns});
    for (std::size_t i = 0; i < kBackgrounds.size(); ++i) {
        const int n = static_cast<int>(i);
        page.Add({.Kind = CK::Option,
                  .Caption = kBackgrounds[i],
                  .Name = Indexed("OptTopicsHTML", n),
                  .Place = {1, 1 + 2 * n},
                  .FieldRow = RowOf(FieldKind::OptionFlag, i, &Form::HtmlBackgroundMode),
                  .Group = "OptTopicsHTMLGroup",
                  .RefreshedBy = {Change::Form}});
        page.Box(Indexed("TopicsHTMLInput", n), {1, 2 + 2 * n}, RowOf(FieldKind::HtmlSetting, i),
                 NoControl, kBackgroundBoxes[i]);
    }
    page.Label("色設定 (StyleSheet)", "TopicsHTML_1", {2, 0, 1, kColumns});
    for (std::size_t i = 0; i < kStyles.size(); ++i) {
        const int row = 3 + static_cast<int>(i);
        const std::size_t setting = HtmlSetting::LinkStyle + i;
        const int label =
            page.Label(kStyles[i], Indexed("TopicsHTMLColor", static_cast<int>(i)), {row, 1});
        page.Box(Indexed("TopicsHTMLInput", static_cast<int>(setting)), {row, 2, 1, kColumns - 2},
                 RowOf(FieldKind::HtmlSetting, setting), label);
    }
    const int last = 3 + static_cast<int>(kStyles.size());
    page.Label("その他", "TopicsHTML_2", {last, 0, 1, 2});
    page.Check(CheckId::HtmlPauseAsHr, {last, 2, 1, 2});
    page.Button(ButtonId::ResetHtml, {last, kColumns - 1});
    return std::move(page).Done();
}

// The preview mode in one row, and the ReadMe as it will be written.
PageDescription PreviewPage() {
    // The form's three preview modes, then Markdown, which form files do not store.
    constexpr std::array<const char*, 4> kModes{"Text", "HTML(Text)", "HTML(Browser)", "Markdown"};
    PageBuilder page(Page::Preview);
    const int caption = page.Label("プレビュー", "TopicsPreview_0", {0, 0});
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        page.Add({.Kind = CK::Option,
                  .Caption = kModes[i],
                  .Name = Indexed("OptPreviewMode", static_cast<int>(i)),
                  .Place = {0, 1 + static_cast<int>(i)},
                  .FieldRow = RowOf(FieldKind::OptionFlag, i, &Form::PreviewMode),
                  .Group = "OptPreviewModeGroup",
                  .RefreshedBy = {Change::Form, Change::Preview},
                  .Choose = &SelectPreviewMode,
                  .Chosen = &PreviewOption});
    }
    page.Add({.Kind = CK::TextViewer,
              .Name = "PreviewText",
              .LabelledBy = caption,
              .Place = {1, 0, 1, 1 + static_cast<int>(kModes.size())},
              .FillsHeight = true,
              .FillsWidth = true,
              .RefreshedBy = {Change::Preview, Change::Fonts},
              .TakesBoxFont = true});
    return std::move(page).Done();
}

// Whether checked items' names are drawn bold, the font of the large boxes,
// and the system information with the button that fetches it.
PageDescription OptionsPage() {
    constexpr std::array<const char*, 2> kBold{"チェックがついている項目の名前を強調表示",
                                               "強調表示を利用しない"};
    constexpr int kColumns = 4;
    PageBuilder page(Page::Options);
    page.Label("入力補助", "TopicsOption_0", {0, 0, 1, kColumns});
    for (std::size_t i = 0; i < kBold.size(); ++i) {
        const int n = static_cast<int>(i);
        page.Add({.Kind = CK::Option,
                  .Caption = kBold[i],
                  .Name = Indexed("OptTopicsOptionBold", n),
                  .Place = {1 + n, 1, 1, kColumns - 1},
                  .Group = "OptTopicsOptionBoldGroup",
                  .RefreshedBy = {Change::Emphasis},
                  // The first option draws checked items' names bold.
                  .Choose = [](Session& s, int index) { SelectEmphasisOption(s, index == 0); },
                  .Chosen = [](const Session& s) { return s.ws.EmphasisEnabled ? 0 : 1; }});
    }
    page.Label("長文項目 ・ ﾌﾟﾚﾋﾞｭｰ ・ ﾃﾝﾌﾟﾚｰﾄﾋﾞｭｰｱ のフォント指定", "TopicsOption_1",
               {3, 0, 1, kColumns});
    page.Button(ButtonId::ChangeFont, {4, 1});
    page.Button(ButtonId::DefaultFont, {4, 2});
    const int heading = page.Label("各種情報取得", "TopicsOption_2", {5, 0, 1, kColumns - 1});
    page.Button(ButtonId::GetInformation, {5, kColumns - 1});
    page.Add({.Kind = CK::TextViewer,
              .Name = "TopicsOptionInfo",
              .LabelledBy = heading,
              .Place = {6, 0, 1, kColumns},
              .FillsHeight = true,
              .FillsWidth = true,
              .RefreshedBy = {Change::Fonts, Change::Information}});
    return std::move(page).Done();
}

// The templates of the template folder beside the text of the one chosen.
PageDescription TemplateViewerPage() {
    PageBuilder page(Page::TemplateViewer);
    page.Label("テンプレートビューア", "TopicsTemplate", {0, 0});
    page.Button(ButtonId::ScanTemplates, {0, 1});
    page.Add({.Kind = CK::TemplateList,
              .Name = "TemplateList",
              .Spoken = "テンプレート一覧",
              .Place = {1, 0},
              .FillsHeight = true,
              .FillsWidth = true,
              .RefreshedBy = {Change::Templates}});
    page.Add({.Kind = CK::TextViewer,
              .Name = "TemplateText",
              .Spoken = "テンプレートの内容",
              .Place = {1, 1},
              .FillsHeight = true,
              .FillsWidth = true,
              .RefreshedBy = {Change::Templates, Change::Fonts},
              .TakesBoxFont = true});
    return std::move(page).Done();
}

} // namespace

std::span<const PageDescription, PageCount> WindowPages() {
    static const std::array<PageDescription, PageCount> pages{
        LinesPage(), LongTextsPage(), OrderPage(),   OtherPage(),
        HtmlPage(),  PreviewPage(),   OptionsPage(), TemplateViewerPage(),
    };
    return pages;
}

const PageDescription& PageOf(Page page) {
    return WindowPages()[static_cast<std::size_t>(page)];
}

} // namespace kelvaro
