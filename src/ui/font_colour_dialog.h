#pragma once

// The font command's dialog: Qt's font chooser with the text colour beside it,
// answered in one step, as the three large text boxes take both together.

#include "host/host.h"

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

namespace kelvaro::ui {

QFont ToQFont(const FontSpec& wanted);
FontSpec FromQFont(const QFont& font);
QColor ToQColor(const Colour& colour);
Colour FromQColor(const QColor& colour);

class FontColourDialog : public QDialog {
    Q_OBJECT

public:
    explicit FontColourDialog(const FontChoice& preset, QWidget* parent = nullptr);

    FontChoice Choice() const;
    void SetColour(const QColor& colour);

private:
    void ChooseColour();

    QFontDialog* fonts_ = nullptr;
    QPushButton* colourButton_ = nullptr;
    QColor colour_;
};

} // namespace kelvaro::ui
