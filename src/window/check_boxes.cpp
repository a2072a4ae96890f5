#include "window/check_boxes.h"

#include <array>

namespace kelvaro {
namespace {

const std::array<CheckDescription, CheckCount> kChecks{
    CheckDescription{CheckId::SkipEmptyItems, Page::Order,
                     "空白の項目はチェックがついていても記述しない", "TopicsSortCheckSpace",
                     &Form::SkipEmptyItems},
    CheckDescription{CheckId::UseReplacement, Page::Other, "置換文字列を利用する",
                     "TopicsOtherCheckChange", &Form::UseReplacement},
    CheckDescription{CheckId::ReplaceUserInput, Page::Other,
                     "「ユーザー入力可能」 は 「」 (何も書かない) に置き換える",
                     "TopicsOtherCheckUserInput", &Form::ReplaceUserInput},
    CheckDescription{CheckId::HtmlPauseAsHr, Page::Html, "区切り線は<HR>タグで代用",
                     "TopicsHTMLCheckHR", &Form::HtmlPauseAsHr},
};

} // namespace

std::span<const CheckDescription, CheckCount> PageChecks() {
    return kChecks;
}

const CheckDescription& CheckOf(CheckId id) {
    return kChecks[static_cast<std::size_t>(id)];
}

} // namespace kelvaro
