#include "session/lossy_question.h"

#include "platform/app_info.h"
#include "platform/cp932.h"
#include "session/session.h"

#include <algorithm>
#include <utility>

namespace kelvaro {

namespace {

// The question names this many characters; the rest are "ほかにもあります".
constexpr std::size_t kLossyShown = 5;

struct LossyPlace {
    std::string Item;
    LossyCharacter Character;
};

std::string LinesOf(const std::vector<LossyPlace>& places, bool more) {
    std::string lines;
    for (const LossyPlace& place : places) {
        if (!lines.empty()) {
            lines += "\r\n";
        }
        lines += "・";
        if (!place.Item.empty()) {
            lines += "「" + place.Item + "」の";
        }
        lines += "「" + place.Character.Character + "」→「" + place.Character.WrittenAs + "」";
    }
    if (more) {
        lines += "\r\nほかにもあります。";
    }
    return lines;
}

LossyWrite AskAbout(Session& s, const std::string& lines) {
    if (lines.empty()) {
        return LossyWrite::NothingLost;
    }
    MessageRequest question{LossyQuestionText(lines, "それらの文字を置き換えて保存しますか？"),
                            AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                            MessageIcon::Exclamation, MessageAnswer::No};
    return s.host.ShowMessage(question) == MessageAnswer::Yes ? LossyWrite::Replace
                                                              : LossyWrite::DoNotWrite;
}

} // namespace

std::string LossyQuestionText(const std::string& lines, std::string_view choices) {
    return "Shift_JISで表せない文字が含まれています。\r\n" + lines + "\r\n" + std::string(choices);
}

std::string LossyCharacterLines(const std::vector<NamedText>& texts, Unmappable mode) {
    std::vector<LossyPlace> places;
    bool more = false;
    for (const NamedText& text : texts) {
        // One more than is shown, to know whether there are more.
        for (LossyCharacter& c : FindLossyCharacters(text.Text, kLossyShown + 1, mode)) {
            if (places.size() == kLossyShown) {
                more = true;
                break;
            }
            places.push_back(LossyPlace{text.Item, std::move(c)});
        }
        if (more) {
            break;
        }
    }
    return LinesOf(places, more);
}

LossyWrite AskBeforeLossyWrite(Session& s, const std::vector<NamedText>& texts, Unmappable mode) {
    return AskAbout(s, LossyCharacterLines(texts, mode));
}

namespace {

// The lines naming the characters of a composed ReadMe that would change, each
// with the first item that holds it.
std::string LossyReadMeLines(std::string_view written, const std::vector<NamedText>& sources) {
    std::vector<LossyCharacter> found = FindLossyCharacters(written, kLossyShown + 1);
    const bool more = found.size() > kLossyShown;
    found.resize(std::min(found.size(), kLossyShown));
    std::vector<LossyPlace> places;
    for (LossyCharacter& c : found) {
        std::string item;
        for (const NamedText& source : sources) {
            if (source.Text.find(c.Character) != std::string_view::npos) {
                item = source.Item;
                break;
            }
        }
        places.push_back(LossyPlace{std::move(item), std::move(c)});
    }
    return LinesOf(places, more);
}

} // namespace

LossyWrite AskBeforeLossyWrite(Session& s, std::string_view written,
                               const std::vector<NamedText>& sources) {
    return AskAbout(s, LossyReadMeLines(written, sources));
}

LossyWrite AskBeforeLossyReadMe(Session& s, std::string_view written,
                                const std::vector<NamedText>& sources) {
    const std::string lines = LossyReadMeLines(written, sources);
    if (lines.empty()) {
        return LossyWrite::NothingLost;
    }
    MessageRequest question{
        LossyQuestionText(lines, "\r\n"
                                 "はい：それらの文字を置き換えて、Shift_JISで保存します。\r\n"
                                 "いいえ：UTF-8で保存します（文字は変わりません）。\r\n"
                                 "キャンセル：保存しません。"),
        AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNoCancel,
        MessageIcon::Exclamation, MessageAnswer::Cancel};
    switch (s.host.ShowMessage(question)) {
    case MessageAnswer::Yes:
        return LossyWrite::Replace;
    case MessageAnswer::No:
        return LossyWrite::WriteUtf8;
    default:
        return LossyWrite::DoNotWrite;
    }
}

} // namespace kelvaro
