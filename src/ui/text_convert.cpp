#include "ui/text_convert.h"

namespace kelvaro::ui {

QString ToQt(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQt(const QString& text) {
    return text.toStdString();
}

QString ToBoxText(std::string_view crlfText) {
    QString text = ToQt(crlfText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromBoxText(const QString& text) {
    std::string utf8 = FromQt(text);
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 16);
    for (char c : utf8) {
        if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace kelvaro::ui
