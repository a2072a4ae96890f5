#include "ui/font_colour_dialog.h"

#include "ui/text_convert.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace kelvaro::ui {

QFont ToQFont(const FontSpec& wanted) {
    QFont font(ToQt(wanted.Name));
    if (wanted.SizePoints > 0) {
        font.setPointSizeF(wanted.SizePoints);
    }
    font.setBold(wanted.Bold);
    font.setItalic(wanted.Italic);
    font.setStrikeOut(wanted.Strikethrough);
    font.setUnderline(wanted.Underline);
    return font;
}

FontSpec FromQFont(const QFont& font) {
    FontSpec chosen;
    chosen.Name = FromQt(font.family());
    chosen.SizePoints = font.pointSizeF() > 0 ? font.pointSizeF() : chosen.SizePoints;
    chosen.Bold = font.bold();
    chosen.Italic = font.italic();
    chosen.Strikethrough = font.strikeOut();
    chosen.Underline = font.underline();
    return chosen;
}

QString InstalledStyleName(const QFont& font) {
    const QString family = font.family();
    const QStringList styles = QFontDatabase::styles(family);
    // The face the boxes are drawn with, when the family has one of that name.
    QString drawn = QFontInfo(font).styleName();
    if (styles.contains(drawn)) {
        return drawn;
    }
    // Otherwise the face of the same slant and boldness nearest the weight.
    const int wanted = font.weight();
    QString best;
    int bestDistance = 0;
    for (const QString& style : styles) {
        const int weight = QFontDatabase::weight(family, style);
        if (QFontDatabase::italic(family, style) != font.italic() ||
            (weight > QFont::Medium) != font.bold()) {
            continue;
        }
        const int distance = std::abs(weight - wanted);
        if (best.isEmpty() || distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

QColor ToQColor(const Colour& colour) {
    return QColor(colour.Red, colour.Green, colour.Blue);
}

Colour FromQColor(const QColor& colour) {
    return Colour{colour.red(), colour.green(), colour.blue()};
}

FontColourDialog::FontColourDialog(const FontChoice& preset, QWidget* parent)
    : QDialog(parent), preset_(preset) {
    setWindowTitle(QStringLiteral("フォント"));
    setObjectName(QStringLiteral("FontColourDialog"));

    fonts_ = new QFontDialog(this);
    fonts_->setObjectName(QStringLiteral("FontChooser"));
    fonts_->setWindowFlags(Qt::Widget);
    fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    // A family that is not installed ("ＭＳ ゴシック" on most desktops) is drawn
    // with its stand-in; the dialog offers the font the boxes really show.
    QFont font = ToQFont(preset.Font);
    if (!QFontDatabase::families().contains(font.family())) {
        font.setFamily(QFontInfo(font).family());
    }
    // The chooser looks the style up by name, and without a name of its own a
    // font is named in Qt's interface language ("太字"), which no font file
    // uses: the chooser would fall back to the family's first face.
    font.setStyleName(InstalledStyleName(font));
    fonts_->setCurrentFont(font);
    opened_ = fonts_->currentFont();
    // The chooser is a dialog of its own: its Escape, and Enter in its lists,
    // would close only the chooser and leave this dialog open without it.
    // They answer for the whole dialog instead.
    connect(fonts_, &QDialog::accepted, this, &QDialog::accept);
    connect(fonts_, &QDialog::rejected, this, &QDialog::reject);
    fonts_->installEventFilter(this);

    auto* colourLabel = new QLabel(QStringLiteral("文字色(&C):"), this);
    colourButton_ = new QPushButton(this);
    colourButton_->setObjectName(QStringLiteral("ColourButton"));
    colourLabel->setBuddy(colourButton_);
    connect(colourButton_, &QPushButton::clicked, this, &FontColourDialog::ChooseColour);
    // The default colour is shown as the boxes draw it: the theme's text colour.
    colourPicked_ = preset.ColourPicked;
    ShowColour(UsesThemeTextColour(preset) ? palette().color(QPalette::Text)
                                           : ToQColor(preset.TextColour));

    // The chooser's own hidden OK must not be the default: Enter anywhere in
    // the dialog is this OK.
    for (QPushButton* hidden : fonts_->findChildren<QPushButton*>()) {
        hidden->setDefault(false);
        hidden->setAutoDefault(false);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(colourLabel);
    colourRow->addWidget(colourButton_);
    colourRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts_);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
}

FontChoice FontColourDialog::Choice() const {
    const QFont current = fonts_->currentFont();
    FontSpec font = FromQFont(current);
    // The chooser knows whole point sizes only and offers only the faces a
    // family has (no italic face: no italic): an untouched size or face keeps
    // what the boxes had.
    if (current.pointSize() == opened_.pointSize()) {
        font.SizePoints = preset_.Font.SizePoints;
    }
    if (current.family() == opened_.family() && current.styleName() == opened_.styleName()) {
        font.Bold = preset_.Font.Bold;
        font.Italic = preset_.Font.Italic;
    }
    // A colour the user did not pick stays the preset's, default or not.
    if (!colourPicked_) {
        return FontChoice{font, preset_.TextColour, preset_.ColourPicked};
    }
    return FontChoice{font, FromQColor(colour_), true};
}

bool FontColourDialog::eventFilter(QObject* watched, QEvent* event) {
    // Keys the chooser's boxes leave unused reach the chooser on their way up:
    // Escape is this dialog's キャンセル and Enter its OK, wherever the focus is.
    if (watched == fonts_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Cancel)) {
            reject();
            return true;
        }
        const bool plain = key->modifiers() == Qt::NoModifier ||
                           (key->modifiers() == Qt::KeypadModifier && key->key() == Qt::Key_Enter);
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FontColourDialog::SetColour(const QColor& colour) {
    colourPicked_ = true;
    ShowColour(colour);
}

void FontColourDialog::ShowColour(const QColor& colour) {
    colour_ = colour;
    QPixmap swatch(32, 16);
    swatch.fill(colour);
    colourButton_->setIcon(swatch);
    colourButton_->setIconSize(swatch.size());
    colourButton_->setText(colour.name(QColor::HexRgb).toUpper());
}

void FontColourDialog::ChooseColour() {
    const QColor chosen = QColorDialog::getColor(colour_, this, QStringLiteral("文字色"));
    if (chosen.isValid()) {
        SetColour(chosen);
    }
}

} // namespace kelvaro::ui
