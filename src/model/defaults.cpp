#include "model/defaults.h"

#include "model/assists.h"
#include "model/item_order.h"
#include "model/long_text.h"

namespace kelvaro {

void DefaultTopicsLine(Workspace& ws) {
    Form& f = ws.form;
    for (auto& value : f.LineValues) {
        value.clear();
    }
    f.LineValues[LineSlot::Version] = "Ver ";
    f.LineValues[LineSlot::HomePage] = "http://";
    f.SizeUnit = 0;
    for (auto& value : f.ChoiceValues) {
        value = std::string(UserInputPlaceholder);
    }
    for (int i = 0; i < static_cast<int>(UserNameCount); ++i) {
        SetUserName(ws, i, std::string(UserInputPlaceholder) + std::to_string(i + 1));
    }
    ws.EditorText.clear();
    for (auto& text : f.LongTexts) {
        text.clear();
    }
}

void DefaultTopicsOther(Workspace& ws) {
    ws.form.PauseChars = "*";
    GetPauseNum(ws);
    ws.form.LeftBracket = "【";
    ws.form.RightBracket = "】";
}

void DefaultTopicsHTML(Workspace& ws) {
    Form& f = ws.form;
    f.HtmlBackgroundMode = 0;
    f.HtmlPauseAsHr = 1;
    const std::string q = "\"";
    f.HtmlSettings = {
        "#FFFFFF",
        "images/back.gif",
        "color:" + q + "#0000FF" + q + ";",
        "color:" + q + "#FFFF00" + q + ";",
        "color:" + q + "#800080" + q + ";",
        "color:" + q + "#0000FF" + q + ";",
        "color:" + q + "#000000" + q + ";font-size:" + q + "12px" + q + ";font-family:" + q +
            "ＭＳ ゴシック" + q + ";",
        "color:" + q + "#FF00FF" + q + ";",
        "color:" + q + "#FF0000" + q + ";",
    };
}

Workspace FreshWorkspace() {
    Workspace ws;
    ws.EmphasisEnabled = true;
    DefaultTopicsLine(ws);
    BuildDefaultOrder(ws);
    DefaultTopicsHTML(ws);
    DefaultTopicsOther(ws);
    return ws;
}

} // namespace kelvaro
