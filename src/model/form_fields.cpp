#include "model/form_fields.h"

#include "model/catalogue.h"

#include <array>

namespace kelvaro {
namespace {

using K = FieldKind;

constexpr std::array kFields{
    FormField{1, K::Header},
    FormField{2, K::Version},
    FormField{3, K::LineValue, LineSlot::Author},
    FormField{4, K::LineValue, LineSlot::SoftwareName},
    FormField{5, K::LineValue, LineSlot::Version},
    FormField{6, K::LineValue, LineSlot::CreatedDate},
    FormField{7, K::LineValue, LineSlot::ArchiveName},
    FormField{8, K::LineValue, LineSlot::ArchiveSize},
    FormField{9, K::LineValue, LineSlot::SharewarePrice},
    FormField{10, K::LineValue, LineSlot::HomePage},
    FormField{11, K::LineValue, LineSlot::Mail},
    FormField{12, K::LineValue, LineSlot::UserItem1},
    FormField{13, K::LineValue, LineSlot::UserItem2},
    FormField{14, K::SizeUnit},
    FormField{15, K::Choice, ChoiceSlot::SoftwareKind},
    FormField{16, K::Choice, ChoiceSlot::Language},
    FormField{17, K::Choice, ChoiceSlot::Runtime},
    FormField{18, K::Choice, ChoiceSlot::DirectX},
    FormField{19, K::Choice, ChoiceSlot::OperatingSystem},
    FormField{20, K::Choice, ChoiceSlot::Redistribution},
    FormField{21, K::Choice, ChoiceSlot::Reprint},
    FormField{22, K::UserName, 0},
    FormField{23, K::UserName, 1},
    FormField{24, K::UserName, 2},
    FormField{25, K::UserName, 3},
    FormField{26, K::LongText, 0},
    FormField{29, K::LongText, 1},
    FormField{32, K::LongText, 2},
    FormField{35, K::LongText, 3},
    FormField{38, K::LongText, 4},
    FormField{41, K::LongText, 5},
    FormField{44, K::LongText, 6},
    FormField{47, K::LongText, 7},
    FormField{50, K::LongText, 8},
    FormField{53, K::LongText, 9},
    FormField{56, K::LongText, 10},
    FormField{59, K::LongText, 11},
    FormField{62, K::LongText, 12},
    FormField{65, K::LongText, 13, nullptr, nullptr, {}, 2}, // 追加3
    FormField{68, K::LongText, 14, nullptr, nullptr, {}, 3}, // 追加4
    FormField{71, K::Order},
    FormField{72, K::CheckBox, 0, nullptr, &Form::SkipEmptyItems},
    FormField{73, K::Text, 0, &Form::PauseChars, nullptr, "区切り線の文字"},
    FormField{74, K::Text, 0, &Form::PauseCount, nullptr, "区切り線の回数"},
    FormField{75, K::Text, 0, &Form::LeftBracket, nullptr, "括弧（左）"},
    FormField{76, K::Text, 0, &Form::RightBracket, nullptr, "括弧（右）"},
    FormField{77, K::CheckBox, 0, nullptr, &Form::ReplaceUserInput},
    FormField{78, K::CheckBox, 0, nullptr, &Form::UseReplacement},
    FormField{79, K::OptionFlag, 0, nullptr, &Form::HtmlBackgroundMode}, // colour
    FormField{80, K::OptionFlag, 1, nullptr, &Form::HtmlBackgroundMode}, // image
    FormField{81, K::HtmlSetting, HtmlSetting::BackgroundColour, nullptr, nullptr, "HTMLの背景色"},
    FormField{82, K::HtmlSetting, HtmlSetting::BackgroundImage, nullptr, nullptr, "HTMLの背景画像"},
    FormField{83, K::HtmlSetting, HtmlSetting::LinkStyle, nullptr, nullptr, "HTMLのLink"},
    FormField{84, K::HtmlSetting, HtmlSetting::ActiveLinkStyle, nullptr, nullptr,
              "HTMLのActive Link"},
    FormField{85, K::HtmlSetting, HtmlSetting::VisitedLinkStyle, nullptr, nullptr,
              "HTMLのVisited Link"},
    FormField{86, K::HtmlSetting, HtmlSetting::HoverLinkStyle, nullptr, nullptr,
              "HTMLのHover Link"},
    FormField{87, K::HtmlSetting, HtmlSetting::BodyStyle, nullptr, nullptr, "HTMLのBODY"},
    FormField{88, K::HtmlSetting, HtmlSetting::PauseStyle, nullptr, nullptr, "HTMLの区切り線"},
    FormField{89, K::HtmlSetting, HtmlSetting::TopicStyle, nullptr, nullptr, "HTMLの括弧項目"},
    FormField{90, K::CheckBox, 0, nullptr, &Form::HtmlPauseAsHr},
    FormField{91, K::OptionFlag, 0, nullptr, &Form::PreviewMode}, // Text
    FormField{92, K::OptionFlag, 1, nullptr, &Form::PreviewMode}, // HTML(Text)
    FormField{93, K::OptionFlag, 2, nullptr, &Form::PreviewMode}, // HTML(Browser)
};

// Every row starts where the one before it ends, and every slot of the form's
// arrays has its row.
constexpr bool LinesFollowOn() {
    for (std::size_t i = 1; i < kFields.size(); ++i) {
        if (kFields[i].Line != kFields[i - 1].Line + FieldLines(kFields[i - 1].Kind)) {
            return false;
        }
    }
    return kFields[0].Line == 1;
}
static_assert(LinesFollowOn(), "a form field's line does not follow the field before it");

constexpr std::size_t RowsOf(FieldKind kind) {
    std::size_t n = 0;
    for (const FormField& field : kFields) {
        n += field.Kind == kind ? 1 : 0;
    }
    return n;
}
static_assert(RowsOf(K::LineValue) == LineValueCount && RowsOf(K::Choice) == ChoiceValueCount &&
              RowsOf(K::UserName) == UserNameCount && RowsOf(K::LongText) == LongTextCount &&
              RowsOf(K::HtmlSetting) == HtmlSettingCount &&
              RowsOf(K::OptionFlag) == 2 + PreviewModeCount);

template <typename F> auto* TextOf(F& form, const FormField& field) {
    using Text = decltype(&form.PauseChars);
    switch (field.Kind) {
    case K::LineValue:
        return &form.LineValues[field.Slot];
    case K::Choice:
        return &form.ChoiceValues[field.Slot];
    case K::UserName:
        return &form.UserNames[field.Slot];
    case K::LongText:
        return &form.LongTexts[field.Slot];
    case K::HtmlSetting:
        return &form.HtmlSettings[field.Slot];
    case K::Text:
        return &(form.*field.Text);
    case K::Header:
    case K::Version:
    case K::SizeUnit:
    case K::Order:
    case K::CheckBox:
    case K::OptionFlag:
        break;
    }
    return Text{nullptr};
}

} // namespace

std::span<const FormField> FormFields() {
    return kFields;
}

const std::string* FieldText(const Form& form, const FormField& field) {
    return TextOf(form, field);
}

std::string* FieldText(Form& form, const FormField& field) {
    return TextOf(form, field);
}

std::string LongTextBlockName(const Form& form, std::size_t slot) {
    for (const FormField& field : kFields) {
        if (field.Kind == K::LongText && field.Slot == slot) {
            return field.NamedBy >= 0 ? form.UserNames[static_cast<std::size_t>(field.NamedBy)]
                                      : std::string(LongItemKey(static_cast<int>(slot)));
        }
    }
    return {};
}

} // namespace kelvaro
