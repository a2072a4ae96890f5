#pragma once

// The question before a text is written in CP932 that would not come back
// unchanged: the window, the templates and kelvaro-compose all ask it here.

#include "host/host.h"
#include "model/form_texts.h"
#include "platform/cp932.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

struct Session;

// Before writing a form file, a template or a text ReadMe in CP932: what the
// user chose about characters that CP932 would not give back unchanged.
enum class LossyWrite {
    NothingLost, // every character comes back as it is: write, nothing was asked
    Replace,     // the user agreed to write them replaced ("?", "(C)", "\" for ¥, ...)
    DoNotWrite,  // the user said No (the default): write nothing
    WriteUtf8,   // the user chose to write UTF-8 instead, which keeps every character
};

// The first few such characters of the texts, a line each with its item
// ("・「作者名」の「¥」→「\」"), and "ほかにもあります。" when there are more;
// "" when every character comes back unchanged. A character CP932 has no code
// for is shown as `mode` writes it.
std::string LossyCharacterLines(const std::vector<NamedText>& texts, Unmappable mode);

// The question about such characters: its first line, the lines naming them
// (LossyCharacterLines) and, on a line of its own, what the user can do.
std::string LossyQuestionText(const std::string& lines, std::string_view choices);

// Asks, when any of the texts holds such characters, whether to write them
// replaced; the question names the first few and their items, and No is its
// default button. `mode` is what the file will hold for a character without a
// CP932 form, which the question shows.
LossyWrite AskBeforeLossyWrite(Session& s, const std::vector<NamedText>& texts, Unmappable mode);
// The same for a text composed of the named texts (a ReadMe): only characters
// of `written` count, and each is named by the first source that holds it.
LossyWrite AskBeforeLossyWrite(Session& s, std::string_view written,
                               const std::vector<NamedText>& sources);
// The question before a text ReadMe is written in CP932: it also offers to write
// the file as UTF-8 instead. はい replaces, いいえ writes UTF-8, キャンセル (the
// default) writes nothing.
LossyWrite AskBeforeLossyReadMe(Session& s, std::string_view written,
                                const std::vector<NamedText>& sources);

} // namespace kelvaro
