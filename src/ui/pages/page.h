#pragma once

// One page of the window, drawn from its description (window/pages.h): the
// page makes one control per entry, arranges them, and from then on shows and
// stores every form field, emphasis, label and button the description names
// without knowing which they are. What is the page's own (the order list,
// the long-text editor, the preview, the templates) it shows itself. The
// window makes a page when it is first shown (or in the idle time after the
// first frame), so a page's controls exist for as long as the page itself does.

#include "session/session.h"
#include "window/pages.h"

#include <QObject>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QButtonGroup;

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
    // The page's controls are made into `tab`, which owns this page as well;
    // the page arranges them, then calls Wire().
    FormPage(QWidget* tab, PageContext& context, Page which);

    // Shows what `what` names, as far as this page shows it.
    void Refresh(Change what);
    // Shows everything the session holds (once, when the page is made).
    void RefreshAll();
    // Before any command runs: what the user typed but the core has not taken.
    virtual void TakeTyping() {}
    // The desktop theme changed while the program runs: the large boxes take
    // its colours anew.
    void ThemeChanged();

protected:
    Session& session() const { return context_.session; }
    bool showing() const { return context_.showing; }
    bool& showingFlag() const { return context_.showing; }
    QWidget* tab() const { return tab_; }
    const PageDescription& description() const { return page_; }

    // The control whose place in the page's grid starts at `row`, `column`.
    template <typename W = QWidget> W* At(int row, int column) const {
        return qobject_cast<W*>(Find(row, column));
    }
    QWidget* Control(int index) const { return controls_[static_cast<std::size_t>(index)]; }
    // The option group the options of `group` are in.
    QButtonGroup* Group(const std::string& group) const { return groups_.at(group); }

    // Labels, spoken names, tab order and every field, emphasis and button:
    // called once the page has arranged its controls.
    void Wire();
    // What the page shows itself.
    virtual void ShowMore(Change /*what*/) {}
    // A push button was clicked.
    virtual void Clicked(void (*command)(Session&)) { RunOnSession(command); }
    // The user renamed a user item.
    virtual void UserNamed() {}

    void Run(const std::function<void()>& command) const { context_.run(command); }
    void RunOnSession(void (*command)(Session&)) const {
        Run([this, command] { command(session()); });
    }
    // The user's typing was stored straight into a field of the form.
    void Edited() const;

private:
    QWidget* Find(int row, int column) const;
    // Whether the form's fields say which option of `group` is chosen (else
    // the description's Choose and Chosen do: a preview mode form files do
    // not store, the long-text item, the emphasis).
    bool GroupOfFields(const std::string& group) const;
    void Bind(const ControlDescription& control, QWidget* widget);
    void Show(const ControlDescription& control, QWidget* widget);
    const ControlDescription& FirstOption(const std::string& group) const;
    void ShowOption(const std::string& group);
    void SpeakUserNames();
    void PaintBoxes(bool newFont);

    QWidget* tab_;
    PageContext& context_;
    const PageDescription& page_;
    std::vector<QWidget*> controls_;
    std::map<std::string, QButtonGroup*> groups_;
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
