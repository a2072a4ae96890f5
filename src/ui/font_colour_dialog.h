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
// The installed face of `font`'s family that draws it, by the name the font
// file gives it ("Bold", "Book"): what Qt's font chooser lists, whatever
// language Qt's own style names are translated into.
QString InstalledStyleName(const QFont& font);
FontSpec FromQFont(const QFont& font);
QColor ToQColor(const Colour& colour);
Colour FromQColor(const QColor& colour);

class FontColourDialog : public QDialog {
    Q_OBJECT

public:
    explicit FontColourDialog(const FontChoice& preset, QWidget* parent = nullptr);

    // What the user chose; whatever the user left alone comes back exactly as
    // the preset had it.
    FontChoice Choice() const;
    // The user picked this text colour (any colour, black included).
    void SetColour(const QColor& colour);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChooseColour();
    void ShowColour(const QColor& colour);

    FontChoice preset_;
    QFontDialog* fonts_ = nullptr;
    // The chooser's font as the dialog opened, to tell what the user touched.
    QFont opened_;
    QPushButton* colourButton_ = nullptr;
    QColor colour_;
    bool colourPicked_ = false;
};

} // namespace kelvaro::ui
