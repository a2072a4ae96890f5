#include "compose/references.h"

#include "compose/compose_readme.h"
#include "model/defaults.h"
#include "model/workspace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvaro {
namespace {

// A form whose one-line items hold values a test can tell apart.
Form ValuedForm() {
    Form form = FreshWorkspace().form;
    form.LineValues[LineSlot::Version] = "1.2.1";
    form.LineValues[LineSlot::ArchiveName] = "pochimemo121.zip";
    form.LineValues[LineSlot::ArchiveSize] = "12";
    form.SizeUnit = 1;
    form.LineValues[LineSlot::UserItem1] = "独自";
    form.ChoiceValues[ChoiceSlot::SoftwareKind] = "フリーソフト";
    form.ChoiceValues[ChoiceSlot::Language] = std::string(UserInputPlaceholder);
    form.ReplaceUserInput = 1;
    return form;
}

TEST(References, NamedItemsAreWrittenAsTheirValues) {
    const Form f = ValuedForm();
    const std::string size =
        f.LineValues[LineSlot::ArchiveSize] + std::string(SizeUnitText(f.SizeUnit));
    const std::string archive = f.LineValues[LineSlot::ArchiveName];
    struct Case {
        std::string text, expanded;
    };
    const std::vector<Case> cases = {
        {"{{アーカイブ名}} を解凍", archive + " を解凍"},
        // As --set matches keys: either width, blanks and case do not count.
        {"{{ｱｰｶｲﾌﾞ名}}/{{アーカイブ　名}}", archive + "/" + archive},
        {"v{{ﾊﾞｰｼﾞｮﾝ}}", "v" + f.LineValues[LineSlot::Version]},
        {"{{アーカイブサイズ}}", size},
        {"{{種別}}{{追加1}}", f.ChoiceValues[ChoiceSlot::SoftwareKind] + "独自"},
        {"{{{バージョン}}}", "{" + f.LineValues[LineSlot::Version] + "}"},
        {"[{{開発言語}}]", "[]"}, // the placeholder emptied, as its own entry writes it
        // What names no one-line item stays as written.
        {"{{未知}} {{}} {{開発履歴}} {{区切り線}}", "{{未知}} {{}} {{開発履歴}} {{区切り線}}"},
        {"{{バージョン\r\n}} {{バージョン", "{{バージョン\r\n}} {{バージョン"},
        // A backslash writes a real key's braces themselves; elsewhere it stays.
        {"\\{{バージョン}} \\{{未知}} C:\\", "{{バージョン}} \\{{未知}} C:\\"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExpandReferences(f, c.text), c.expanded) << c.text;
    }
}

// Every format writes the value where the text names it, and the form keeps
// the reference.
TEST(References, EveryFormatComposesTheValueInPlace) {
    Form referring = ValuedForm();
    referring.LongTexts[5] = "{{アーカイブ名}} を展開してください。\r\n版: {{バージョン}}";
    Form written = referring;
    written.LongTexts[5] =
        referring.LineValues[LineSlot::ArchiveName] +
        " を展開してください。\r\n版: " + referring.LineValues[LineSlot::Version];
    for (ReadMeFormat format :
         {ReadMeFormat::Text, ReadMeFormat::Html, ReadMeFormat::Markdown, ReadMeFormat::Html5}) {
        EXPECT_EQ(ComposeReadMe(referring, format), ComposeReadMe(written, format))
            << static_cast<int>(format);
    }
    EXPECT_NE(referring.LongTexts[5], written.LongTexts[5]);
}

// A text that becomes empty is left out as an empty one is.
TEST(References, AnEmptiedTextIsSkippedAsAnEmptyOne) {
    Form form = ValuedForm();
    form.SkipEmptyItems = 1;
    form.LineValues[LineSlot::Author] = "";
    Form empty = form;
    form.LongTexts[8] = "{{作者名}}";
    empty.LongTexts[8] = "";
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), ComposeReadMe(empty, ReadMeFormat::Text));
}

} // namespace
} // namespace kelvaro
