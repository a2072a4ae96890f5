#pragma once

// A window as the user gets it, with the scripted host answering its questions
// and a fresh program folder of its own (with the shipped template set).

#include "support/fixtures.h"
#include "support/scripted_host.h"
#include "ui/read_me_form.h"

#include <QPoint>
#include <QString>
#include <QTest>

#include <memory>

class QListWidget;

namespace kelvaro::test {

struct WindowFixture {
    WindowFixture();
    ~WindowFixture();

    // The control of that name; a test that names a missing control fails there.
    template <typename W> W* Find(const char* name) const {
        W* widget = window->findChild<W*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            QTest::qFail(
                qPrintable(QStringLiteral("no control named ") + QString::fromLatin1(name)),
                __FILE__, __LINE__);
        }
        return widget;
    }

    // Clicks tab `index` (0-based) of the tab strip the way the mouse does.
    void ClickTab(int index) const;

    Session& session() const { return window->session(); }

    ScriptedHost host;
    TempFolder folder;
    std::unique_ptr<ui::ReadMeForm> window;
};

QString Qs(const std::string& utf8);

// Drags entry `from` of an item list and drops it at `target` (a point in the
// list's viewport): the press selects the entry, as the start of a drag does,
// and the drag carries the list's own drag data through enter, move and drop.
// (The offscreen platform runs no drag loop of its own.) True when the list
// took the drop and left Qt nothing to move itself.
bool DragListEntry(QListWidget* list, int from, QPoint target);

// Types text into a widget one key at a time, Japanese included (QTest's own
// key clicks know only ASCII): each key event carries its character, as an
// input method's commit does.
void TypeText(QWidget* widget, const QString& text);

} // namespace kelvaro::test
