#pragma once

// One page of the window. A page builds its own controls into its tab when it
// is made, connects them to the core's commands, and refreshes them from the
// session whenever the change listener names what changed. The window makes a
// page when it is first shown (or in the idle time after the first frame), so
// a page's controls exist for as long as the page itself does.

#include "model/catalogue.h"
#include "session/session.h"

#include <QObject>

#include <cstddef>
#include <functional>
#include <memory>

class QWidget;

namespace kelvaro::ui {

// What every page shares with the window.
struct PageContext {
    Session& session;
    // True while the window writes the core's state into its controls, so the
    // controls' change signals do not echo it back as user input.
    bool showing = false;
    // Runs one command the way every command runs: the long text the user
    // typed is taken first, and a failure ends in the one failure message.
    std::function<void(const std::function<void()>&)> run;
};

class FormPage : public QObject {
public:
    // The page's controls go into `tab`, which owns this page as well.
    FormPage(QWidget* tab, PageContext& context);

    // Shows what `what` names, as far as this page shows it.
    virtual void Refresh(Change what) = 0;
    // Shows everything the session holds (once, when the page is made).
    void RefreshAll();
    // Before any command runs: what the user typed but the core has not taken.
    virtual void TakeTyping() {}
    // The desktop theme changed while the program runs.
    virtual void ThemeChanged() {}

protected:
    Session& session() const { return context_.session; }
    bool showing() const { return context_.showing; }
    bool& showingFlag() const { return context_.showing; }
    QWidget* tab() const { return tab_; }

    void Run(const std::function<void()>& command) const { context_.run(command); }
    // Runs a command of the session, as buttons do.
    void RunOnSession(void (*command)(Session&)) const {
        Run([this, command] { command(session()); });
    }
    // The user's typing was stored straight into a field of the form.
    void Edited() const;
    // Every item whose emphasis a control shows: `show(item, controlIndex, bold)`.
    void
    ForEachEmphasis(const std::function<void(const CatalogueItem&, std::size_t, bool)>& show) const;

private:
    QWidget* tab_;
    PageContext& context_;
};

// The eight pages, in tab order (0-based), each made into its tab.
FormPage* MakeLinesPage(QWidget* tab, PageContext& context);
FormPage* MakeLongTextsPage(QWidget* tab, PageContext& context);
FormPage* MakeOrderPage(QWidget* tab, PageContext& context);
FormPage* MakeOtherPage(QWidget* tab, PageContext& context);
FormPage* MakeHtmlPage(QWidget* tab, PageContext& context);
FormPage* MakePreviewPage(QWidget* tab, PageContext& context);
FormPage* MakeOptionsPage(QWidget* tab, PageContext& context);
FormPage* MakeTemplateViewerPage(QWidget* tab, PageContext& context);

} // namespace kelvaro::ui
