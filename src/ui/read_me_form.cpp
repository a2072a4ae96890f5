// The window itself: its tab strip, the making of pages, the passing of change
// notices to them, and the events that belong to the whole window (closing,
// dropping a file, a new theme).

#include "ui/read_me_form.h"

#include "files/lifecycle.h"
#include "ui/menus.h"
#include "ui/pages/page.h"
#include "ui/text_convert.h"
#include "window/menus.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

namespace kelvaro::ui {
namespace {

// The client area the window was designed at, in pixels at 96 dpi.
constexpr int kDesignWidth = 472;
constexpr int kDesignHeight = 352;

using PageMaker = FormPage* (*)(QWidget*, PageContext&);
constexpr std::array<PageMaker, PageCount> kPageMakers{
    &MakeLinesPage, &MakeLongTextsPage, &MakeOrderPage,   &MakeOtherPage,
    &MakeHtmlPage,  &MakePreviewPage,   &MakeOptionsPage, &MakeTemplateViewerPage};

// The one local file a drag carries, or an empty string.
QString DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

ReadMeForm::ReadMeForm(Host& host, const std::string& programFolder, QWidget* parent)
    : ReadMeForm(host, PortableFolders(programFolder), parent) {}

ReadMeForm::ReadMeForm(Host& host, AppFolders folders, QWidget* parent)
    : QMainWindow(parent), session_(host, std::move(folders)),
      context_(std::make_unique<PageContext>(
          PageContext{session_, false,
                      [this](const std::function<void()>& command) { RunCommand(command); }})) {
    setAcceptDrops(true);
    setObjectName(ToQt(WindowName));
    BuildMenus(*this,
               [this](void (*command)(Session&)) { RunCommand([&] { command(session_); }); });
    BuildTabs();
    // After the first frame the other pages are made, one per turn of the
    // event loop, so that a tab the user clicks is usually ready already.
    tabPages_[0]->installEventFilter(this);
    session_.SetChangeListener([this](Change what) { OnChanged(what); });
    SizeToDesign();

    // At load the first tab is selected and shown before the start-up fills in
    // the defaults.
    tabs_->setCurrentIndex(0);
    controller_.PageChosen(Page::Lines);
    RunCommand([this] { StartUp(session_); });
}

ReadMeForm::~ReadMeForm() {
    // The session outlives nothing of the window: stop change notices first.
    session_.SetChangeListener(nullptr);
}

void ReadMeForm::BuildTabs() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(ToQt(TabStripName));
    // It hands the keyboard to its tab strip, which says the page shown.
    tabs_->setAccessibleName(ToQt(TabStripSpokenName));
    // Never scroll arrows over the captions nor shortened captions: a larger
    // font or scale makes the window wider instead. The tabs are drawn and
    // measured by the desktop's own style, so their captions fit it.
    tabs_->tabBar()->setUsesScrollButtons(false);
    tabs_->tabBar()->setElideMode(Qt::ElideNone);
    for (std::size_t n = 0; n < PageCount; ++n) {
        auto* page = new QWidget;
        page->setObjectName(ToQt(WindowTabs()[n].Name));
        tabPages_[n] = page;
        tabs_->addTab(page, ToQt(WindowTabs()[n].Caption));
    }
    setCentralWidget(tabs_);
    // A click on the tab already shown changes no index, so currentChanged
    // alone would miss it; the click itself is what switches pages.
    connect(tabs_->tabBar(), &QTabBar::tabBarClicked, this, &ReadMeForm::OnTabClicked);
    connect(tabs_, &QTabWidget::currentChanged, this, &ReadMeForm::OnTabChanged);
    // Only the first page is made before the window is first shown; the
    // others when first shown, or in the idle time after the first frame.
    FillPage(0);
}

void ReadMeForm::SizeToDesign() {
    // The design size is in pixels at 96 dpi; a screen with a larger logical
    // resolution gets a proportionally larger window.
    const qreal scale = logicalDpiY() > 0 ? logicalDpiY() / 96.0 : 1.0;
    const QSize client(qRound(kDesignWidth * scale), qRound(kDesignHeight * scale));
    const int menuHeight = menuBar()->sizeHint().height();
    // Fonts or captions larger than the design's make the window larger, so
    // that nothing is cut.
    resize(QSize(client.width(), client.height() + menuHeight).expandedTo(minimumSizeHint()));
}

void ReadMeForm::RunCommand(const std::function<void()>& command) {
    controller_.Run(command);
}

void ReadMeForm::TakeTyping() {
    for (FormPage* page : made_) {
        page->TakeTyping();
    }
}

void ReadMeForm::EndEventLoop() {
    QCoreApplication::exit(0);
}

void ReadMeForm::FillPage(std::size_t n) {
    if (PageFilled(n)) {
        return;
    }
    FormPage* page = kPageMakers[n](tabPages_[n], *context_);
    pages_[n] = page;
    made_.push_back(page);
    // The new controls show what the session holds now.
    page->RefreshAll();
}

void ReadMeForm::FillAllPages() {
    for (std::size_t n = 0; n < PageCount; ++n) {
        FillPage(n);
    }
}

void ReadMeForm::FillNextPageLater() {
    QTimer::singleShot(0, this, [this] {
        for (std::size_t n = 0; n < PageCount; ++n) {
            if (!PageFilled(n)) {
                FillPage(n);
                FillNextPageLater();
                return;
            }
        }
    });
}

bool ReadMeForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabPages_[0] && event->type() == QEvent::Paint) {
        tabPages_[0]->removeEventFilter(this);
        FillNextPageLater();
    }
    return QMainWindow::eventFilter(watched, event);
}

void ReadMeForm::OnChanged(Change what) {
    for (FormPage* page : made_) {
        page->Refresh(what);
    }
    if (what == Change::Title) {
        setWindowTitle(ToQt(session_.WindowTitle));
    } else if (what == Change::Form) {
        // New and start-up go back to the first page.
        const int page = static_cast<int>(session_.CurrentPage);
        if (tabs_->currentIndex() != page) {
            const bool was = context_->showing;
            context_->showing = true;
            tabs_->setCurrentIndex(page);
            context_->showing = was;
        }
    }
}

void ReadMeForm::OnTabClicked(int index) {
    if (index < 0) {
        return;
    }
    FillPage(static_cast<std::size_t>(index));
    if (index == tabs_->currentIndex()) {
        controller_.PageChosen(static_cast<Page>(index));
    }
}

void ReadMeForm::OnTabChanged(int index) {
    if (index < 0) {
        return;
    }
    FillPage(static_cast<std::size_t>(index));
    if (!context_->showing) {
        controller_.PageChosen(static_cast<Page>(index));
    }
}

void ReadMeForm::closeEvent(QCloseEvent* event) {
    if (controller_.MayClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void ReadMeForm::changeEvent(QEvent* event) {
    // A new desktop theme while the program runs: the boxes take its colours.
    if (event->type() == QEvent::PaletteChange) {
        for (FormPage* page : made_) {
            page->ThemeChanged();
        }
    }
    QMainWindow::changeEvent(event);
}

void ReadMeForm::OpenFormFile(const std::string& path) {
    controller_.OpenFormFile(path);
}

void ReadMeForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void ReadMeForm::dropEvent(QDropEvent* event) {
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    OpenFormFile(FromQt(file));
}

} // namespace kelvaro::ui
