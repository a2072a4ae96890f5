// The words of the lossy-character questions, pinned here once; the tests of
// the saves that ask them check only which characters they name and that the
// answer is obeyed.

#include "session/lossy_question.h"

#include "session/session.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(LossyQuestion, TheWordsOfEachQuestion) {
    const std::vector<NamedText> texts{{"作者名", "作者🙂"}, {"ｼｪｱｳｪｱ代金", "¥ 500"}};
    const std::string named = "・「作者名」の「🙂」→「?」\r\n"
                              "・「ｼｪｱｳｪｱ代金」の「¥」→「\\」\r\n";
    struct Case {
        const char* What;
        LossyWrite (*Ask)(Session&, const std::vector<NamedText>&);
        std::string Text;
        MessageButtons Buttons;
        MessageAnswer Default;
    };
    const Case cases[] = {
        {"a form file or a template",
         [](Session& s, const std::vector<NamedText>& t) {
             return AskBeforeLossyWrite(s, t, Unmappable::Question);
         },
         "Shift_JISで表せない文字が含まれています。\r\n" + named +
             "それらの文字を置き換えて保存しますか？",
         MessageButtons::YesNo, MessageAnswer::No},
        {"a text ReadMe",
         [](Session& s, const std::vector<NamedText>& t) {
             return AskBeforeLossyReadMe(s, "作者🙂 ¥ 500", t);
         },
         "Shift_JISで表せない文字が含まれています。\r\n" + named +
             "\r\n"
             "はい：それらの文字を置き換えて、Shift_JISで保存します。\r\n"
             "いいえ：UTF-8で保存します（文字は変わりません）。\r\n"
             "キャンセル：保存しません。",
         MessageButtons::YesNoCancel, MessageAnswer::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        test::ScriptedHost host;
        Session s(host, "/nonexistent");
        c.Ask(s, texts);
        ASSERT_EQ(host.Messages.size(), 1u);
        EXPECT_EQ(host.Messages[0].Text, c.Text);
        EXPECT_EQ(host.Messages[0].Buttons, c.Buttons);
        EXPECT_EQ(host.Messages[0].DefaultButton, c.Default);
        EXPECT_EQ(host.Messages[0].Icon, MessageIcon::Exclamation);
    }
}

} // namespace
} // namespace kelvaro
