#pragma once

// A window as the user gets it, with the scripted host answering its questions
// and a fresh program folder of its own (with the shipped template set).

#include "support/fixtures.h"
#include "support/scripted_host.h"
#include "ui/read_me_form.h"

#include <QString>
#include <QTest>

#include <memory>

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

// Types text into a widget one key at a time, Japanese included (QTest's own
// key clicks know only ASCII): each key event carries its character, as an
// input method's commit does.
void TypeText(QWidget* widget, const QString& text);

} // namespace kelvaro::test
