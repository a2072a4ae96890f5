// The report of an import: what the ReadMe was read as, where each section
// went, and what a person should look at.

#include "import/readme_import.h"

namespace kelvaro {

std::string ImportReport::Summary() const {
    std::string kind;
    switch (Format) {
    case ReadMeFormat::Text:
        kind = "テキスト";
        break;
    case ReadMeFormat::Html:
        kind = "HTML";
        break;
    case ReadMeFormat::Markdown:
        kind = "Markdown";
        break;
    case ReadMeFormat::Html5:
        kind = "HTML5";
        break;
    }
    std::string text = kind + "の ReadMe を読み込みました（" +
                       (OwnLayout ? std::string("このプログラムの出力として、そのまま")
                                  : std::string("見出しから")) +
                       "）。\r\n" + std::to_string(Placements.size()) + " 項目";
    if (!CatchAllLines.empty()) {
        text += "、行き先のない行 " + std::to_string(CatchAllLineCount) + " 行（最後の追加項目へ）";
    }
    text += "。";
    if (!Checks.empty()) {
        text += "\r\n確かめてほしいこと " + std::to_string(Checks.size()) + " 件:";
        for (const std::string& check : Checks) {
            text += "\r\n・" + check;
        }
    }
    return text;
}

std::string ImportReport::Text() const {
    std::string text = Summary();
    for (const ImportPlacement& p : Placements) {
        text += "\r\n" +
                (p.Heading.empty() ? std::string("（見出しの前の行）") : "「" + p.Heading + "」") +
                "→ " + p.Item;
    }
    if (!CatchAllLines.empty()) {
        text += "\r\n行き先のない行:";
        for (const std::string& line : CatchAllLines) {
            text += "\r\n  " + line;
        }
        if (CatchAllLineCount > CatchAllLines.size()) {
            text +=
                "\r\n  …ほか " + std::to_string(CatchAllLineCount - CatchAllLines.size()) + " 行";
        }
    }
    return text;
}

} // namespace kelvaro
