#include "ui/font_colour_dialog.h"

#include "ui/text_convert.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

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

QColor ToQColor(const Colour& colour) {
    return QColor(colour.Red, colour.Green, colour.Blue);
}

Colour FromQColor(const QColor& colour) {
    return Colour{colour.red(), colour.green(), colour.blue()};
}

FontColourDialog::FontColourDialog(const FontChoice& preset, QWidget* parent) : QDialog(parent) {
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
    fonts_->setCurrentFont(font);

    auto* colourLabel = new QLabel(QStringLiteral("文字色(&C):"), this);
    colourButton_ = new QPushButton(this);
    colourButton_->setObjectName(QStringLiteral("ColourButton"));
    colourLabel->setBuddy(colourButton_);
    connect(colourButton_, &QPushButton::clicked, this, &FontColourDialog::ChooseColour);
    SetColour(ToQColor(preset.TextColour));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
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
    return FontChoice{FromQFont(fonts_->currentFont()), FromQColor(colour_)};
}

void FontColourDialog::SetColour(const QColor& colour) {
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
