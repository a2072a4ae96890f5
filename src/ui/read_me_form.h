#pragma once

// ReadMeForm, the program's one window: the menu bar and the tab strip of the
// eight pages. Each page builds, connects and refreshes its own controls
// (ui/pages/); the menus and their commands live in ui/menus.*. The window
// makes each page when it is first shown, passes the core's change notices to
// the pages made so far, and switches pages.
//
// Pages are named TabPage_1 ... TabPage_8, so tests and tools find each by the
// name users know, as they find every control.

#include "session/session.h"
#include "window/controller.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QDragEnterEvent;
class QDropEvent;
class QTabWidget;

namespace kelvaro::ui {

class FormPage;
struct PageContext;

class ReadMeForm : public QMainWindow, private WindowRenderer {
    Q_OBJECT

public:
    // `host` answers the questions of every command; `folders` say where the
    // Templates folder, the browser page and the guide live.
    ReadMeForm(Host& host, AppFolders folders, QWidget* parent = nullptr);
    // Portable: the template folder and the browser page beside the program.
    ReadMeForm(Host& host, const std::string& programFolder, QWidget* parent = nullptr);
    ~ReadMeForm() override;

    Session& session() { return session_; }
    // The window's rules: commands, the journal and the ends of the program.
    WindowController& controller() { return controller_; }

    // Opens a form file as フォームを開く does (the command line, a dropped file).
    void OpenFormFile(const std::string& path);

    // The pages are made with their controls when first shown, or in the idle
    // time after the first frame; until then a page is an empty widget.
    bool PageFilled(std::size_t n) const { return n < PageCount && pages_[n] != nullptr; }
    // Makes every page now (tests and tools that reach all controls at once).
    void FillAllPages();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTabs();
    void SizeToDesign();
    void RunCommand(const std::function<void()>& command);
    void TakeTyping() override;
    void EndEventLoop() override;
    void FillPage(std::size_t n);
    void FillNextPageLater();
    void OnTabClicked(int index);
    void OnTabChanged(int index);
    void OnChanged(Change what);

    Session session_;
    WindowController controller_{session_, *this};
    std::unique_ptr<PageContext> context_;
    QTabWidget* tabs_ = nullptr;
    std::array<QWidget*, PageCount> tabPages_{};
    // The pages made so far, each owned by its tab.
    std::array<FormPage*, PageCount> pages_{};
    std::vector<FormPage*> made_;
};

} // namespace kelvaro::ui
