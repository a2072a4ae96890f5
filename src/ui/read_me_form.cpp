// The window's events, each passed to the one core command it stands for.
// Typing into a field only stores what was typed; it runs nothing (the preview
// is refreshed when its page is shown or its mode is chosen, not live).

#include "ui/read_me_form.h"

#include "compose/output.h"
#include "compose/pages.h"
#include "files/lifecycle.h"
#include "model/form_texts.h"
#include "session/edits.h"
#include "settings/commands.h"
#include "templates/template_files.h"
#include "templates/template_viewer.h"
#include "ui/order_list.h"
#include "ui/text_convert.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

namespace kelvaro::ui {
namespace {

int CheckValue(int state) {
    switch (state) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

} // namespace

ReadMeForm::ReadMeForm(Host& host, const std::string& programFolder, QWidget* parent)
    : ReadMeForm(host, PortableFolders(programFolder), parent) {}

ReadMeForm::ReadMeForm(Host& host, AppFolders folders, QWidget* parent)
    : QMainWindow(parent), session_(host, std::move(folders)) {
    setAcceptDrops(true);
    setObjectName(QStringLiteral("ReadMeForm"));
    BuildMenus();
    BuildPages();
    ConnectMenus();
    ConnectPages();
    // After the first frame the other pages are filled, one per turn of the
    // event loop, so that a tab the user clicks is usually ready already.
    w_.TabPage[0]->installEventFilter(this);
    session_.SetChangeListener([this](Change what) { OnChanged(what); });
    SizeToDesign();

    // At load the first tab is selected and shown before the start-up fills in
    // the defaults.
    w_.TabSheet->setCurrentIndex(0);
    Run([this] { SelectPage(session_, Page::Lines); });
    Run([this] { StartUp(session_); });
}

ReadMeForm::~ReadMeForm() {
    // The session outlives nothing of the window: stop change notices first.
    session_.SetChangeListener(nullptr);
}

template <typename Command> void ReadMeForm::Run(Command&& command) {
    PullEditor();
    // Commands report their own failures; this only keeps an unexpected one
    // from escaping into Qt's event loop.
    RunReportingFailures(session_, std::forward<Command>(command));
}

void ReadMeForm::closeEvent(QCloseEvent* event) {
    bool close = true;
    Run([&] { close = ConfirmClose(session_); });
    if (close) {
        event->accept();
    } else {
        event->ignore();
    }
}

void ReadMeForm::changeEvent(QEvent* event) {
    // A new desktop theme while the program runs: the boxes take its colours.
    if (event->type() == QEvent::PaletteChange) {
        PaintBoxes();
    }
    QMainWindow::changeEvent(event);
}

void ReadMeForm::OpenFormFile(const std::string& path) {
    Run([&] { OpenFormPath(session_, path); });
}

namespace {

// The one local file a drag carries, or an empty string.
QString DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

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

void ReadMeForm::ConnectMenus() {
    auto on = [this](QAction* action, auto command) {
        connect(action, &QAction::triggered, this,
                [this, command] { Run([&] { command(session_); }); });
    };
    on(w_.MiFileNew, [](Session& s) { NewForm(s); });
    on(w_.MiFileOpen, [](Session& s) { OpenForm(s); });
    on(w_.MiFileSave, [](Session& s) { SaveForm(s); });
    on(w_.MiFileSaveAs, [](Session& s) { SaveFormAs(s); });
    on(w_.MiReadMeText, [](Session& s) { GenerateReadMe(s, OutputMode::TextFile); });
    on(w_.MiReadMeHTML, [](Session& s) { GenerateReadMe(s, OutputMode::HtmlFile); });
    on(w_.MiReadMeTextClipboard, [](Session& s) { GenerateReadMe(s, OutputMode::TextClipboard); });
    on(w_.MiReadMeHTMLClipboard, [](Session& s) { GenerateReadMe(s, OutputMode::HtmlClipboard); });
    on(w_.MiReadMeMarkdown, [](Session& s) { GenerateReadMe(s, OutputMode::MarkdownFile); });
    on(w_.MiReadMeMarkdownClipboard,
       [](Session& s) { GenerateReadMe(s, OutputMode::MarkdownClipboard); });
    connect(w_.MiExit, &QAction::triggered, this, &QWidget::close);
    // MiHelpFile stays disabled and has no operation.
    on(w_.MiOnlineHelpPage, [](Session& s) { OpenOnlineHelp(s); });
    on(w_.MiOnlineDevelopmentPage, [](Session& s) { OpenHomePage(s); });
    on(w_.MiGetVersionInfo, [](Session& s) { ShowVersionInfo(s); });

    // A click on the tab already shown changes no index, so currentChanged
    // alone would miss it; the click itself is what switches pages.
    connect(w_.TabSheet->tabBar(), &QTabBar::tabBarClicked, this, &ReadMeForm::OnTabClicked);
    connect(w_.TabSheet, &QTabWidget::currentChanged, this, &ReadMeForm::OnTabChanged);
}

void ReadMeForm::OnTabClicked(int index) {
    if (index >= 0) {
        FillPage(static_cast<std::size_t>(index));
    }
    if (index >= 0 && index == w_.TabSheet->currentIndex()) {
        Run([&] { SelectPage(session_, static_cast<Page>(index)); });
    }
}

void ReadMeForm::OnTabChanged(int index) {
    if (index < 0) {
        return;
    }
    FillPage(static_cast<std::size_t>(index));
    if (showing_) {
        return;
    }
    Run([&] { SelectPage(session_, static_cast<Page>(index)); });
}

void ReadMeForm::ConnectLinesPage() {
    Form& form = session_.ws.form;
    for (std::size_t i = 0; i < w_.ComboTopics.size(); ++i) {
        if (!Bind(w_.ComboTopics[i])) {
            continue;
        }
        connect(w_.ComboTopics[i], &QComboBox::editTextChanged, this,
                [this, &form, i](const QString& text) {
                    if (!showing_) {
                        form.ChoiceValues[i] = SingleLineOf(w_.ComboTopics[i]->lineEdit(), text);
                    }
                });
    }
    if (Bind(w_.ComboSize)) {
        connect(w_.ComboSize, &QComboBox::currentIndexChanged, this, [this, &form](int index) {
            if (!showing_) {
                form.SizeUnit = index;
            }
        });
    }
    // The four name boxes stand on two pages.
    for (std::size_t i = 0; i < w_.TopicsAdd.size(); ++i) {
        if (!Bind(w_.TopicsAdd[i])) {
            continue;
        }
        connect(w_.TopicsAdd[i], &QLineEdit::textChanged, this, [this, i](const QString& text) {
            if (showing_) {
                return;
            }
            std::string name = SingleLineOf(w_.TopicsAdd[i], text);
            Run([&] { SetUserName(session_, static_cast<int>(i), std::move(name)); });
        });
    }
    if (Bind(w_.CmdGetToday)) {
        connect(w_.CmdGetToday, &QPushButton::clicked, this,
                [this] { Run([this] { GetToday(session_); }); });
    }
}

void ReadMeForm::ConnectLongTextsPage() {
    if (!Bind(w_.Description)) {
        return;
    }
    for (std::size_t i = 0; i < w_.OptTopics.size(); ++i) {
        // Whenever an item becomes the current option, by mouse or by the arrow
        // keys, the editor stores the old item and shows the new one.
        connect(w_.OptTopics[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on || showing_) {
                return;
            }
            Run([&] { SelectLongItem(session_, static_cast<int>(i)); });
        });
    }
    // The long text is taken from the box only when a command needs it: a
    // keystroke in a long text costs nothing.
    connect(w_.Description, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing_) {
            editorDirty_ = true;
        }
    });
    connect(w_.CmdTemplate[0], &QPushButton::clicked, this, [this] {
        loadingTemplate_ = true;
        Run([this] { LoadTemplate(session_); });
        loadingTemplate_ = false;
    });
    connect(w_.CmdTemplate[1], &QPushButton::clicked, this,
            [this] { Run([this] { SaveTemplate(session_); }); });
}

void ReadMeForm::ConnectOrderPage() {
    if (!Bind(w_.SortList)) {
        return;
    }
    connect(w_.SortList, &QListWidget::itemChanged, this, &ReadMeForm::OnSortListItemChanged);
    connect(w_.SortList, &OrderList::EntryDragged, this, [this](int from, int to) {
        Run([&] {
            MoveEntry(session_, static_cast<std::size_t>(from), static_cast<std::size_t>(to));
        });
    });
    connect(w_.SortList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_) {
            Run([&] { SelectEntry(session_, row); });
        }
    });

    auto orderCommand = [this](QPushButton* button, auto command) {
        connect(button, &QPushButton::clicked, this,
                [this, command] { Run([&] { command(session_); }); });
    };
    orderCommand(w_.CmdListUpDown[0], [](Session& s) { MoveEntryUp(s); });
    orderCommand(w_.CmdListUpDown[1], [](Session& s) { MoveEntryDown(s); });
    orderCommand(w_.CmdListAllCheck[0], [](Session& s) { CheckAll(s); });
    orderCommand(w_.CmdListAllCheck[1], [](Session& s) { UncheckAll(s); });
    orderCommand(w_.CmdListAllCheck[2], [](Session& s) { InvertChecks(s); });
    orderCommand(w_.CmdListAllCheck[3], [](Session& s) { ResetOrderToDefault(s); });
}

void ReadMeForm::OnSortListItemChanged(QListWidgetItem* item) {
    if (showing_ || item == nullptr) {
        return;
    }
    const int row = w_.SortList->row(item);
    const auto& order = session_.ws.form.Order;
    if (row < 0 || static_cast<std::size_t>(row) >= order.size()) {
        return;
    }
    const bool checked = item->checkState() == Qt::Checked;
    if (order[static_cast<std::size_t>(row)].Checked == checked) {
        return; // the text changed, not the check mark
    }
    Run([&] { SetEntryChecked(session_, static_cast<std::size_t>(row), checked); });
}

std::vector<std::pair<QLineEdit*, std::string*>> ReadMeForm::TextFields() {
    Form& form = session_.ws.form;
    std::vector<std::pair<QLineEdit*, std::string*>> fields;
    for (std::size_t i = 0; i < w_.TopicsLineText.size(); ++i) {
        fields.emplace_back(w_.TopicsLineText[i], &form.LineValues[i]);
    }
    fields.emplace_back(w_.TopicsOtherPauseChar, &form.PauseChars);
    fields.emplace_back(w_.TopicsOtherPauseNum, &form.PauseCount);
    fields.emplace_back(w_.TopicsOtherLeftChar, &form.LeftBracket);
    fields.emplace_back(w_.TopicsOtherRightChar, &form.RightBracket);
    for (std::size_t i = 0; i < w_.TopicsHTMLInput.size(); ++i) {
        fields.emplace_back(w_.TopicsHTMLInput[i], &form.HtmlSettings[i]);
    }
    return fields;
}

std::vector<std::pair<QCheckBox*, int*>> ReadMeForm::CheckFields() {
    Form& form = session_.ws.form;
    return {{w_.TopicsSortCheckSpace, &form.SkipEmptyItems},
            {w_.TopicsOtherCheckChange, &form.UseReplacement},
            {w_.TopicsOtherCheckUserInput, &form.ReplaceUserInput},
            {w_.TopicsHTMLCheckHR, &form.HtmlPauseAsHr}};
}

void ReadMeForm::ConnectFields() {
    // Plain variables, not structured bindings: lambdas capture them on every
    // compiler the project builds with.
    for (const auto& binding : TextFields()) {
        QLineEdit* box = binding.first;
        std::string* field = binding.second;
        if (!Bind(box)) {
            continue;
        }
        connect(box, &QLineEdit::textChanged, this, [this, box, field](const QString& text) {
            if (!showing_) {
                *field = SingleLineOf(box, text);
            }
        });
    }
    for (const auto& check : CheckFields()) {
        QCheckBox* box = check.first;
        int* field = check.second;
        if (!Bind(box)) {
            continue;
        }
        connect(box, &QCheckBox::stateChanged, this, [this, box, field](int state) {
            if (showing_) {
                return;
            }
            // A third state only ever comes from a form file; once the user
            // touches the box it is a plain check box again.
            if (state != Qt::PartiallyChecked) {
                box->setTristate(false);
            }
            *field = CheckValue(state);
        });
    }
}

void ReadMeForm::ConnectOtherPages() {
    Form& form = session_.ws.form;
    if (Bind(w_.CmdGetPauseNum)) {
        connect(w_.CmdGetPauseNum, &QPushButton::clicked, this,
                [this] { Run([this] { GetPauseNum(session_); }); });
    }
    if (Bind(w_.OptTopicsHTMLGroup)) {
        connect(w_.OptTopicsHTMLGroup, &QButtonGroup::idToggled, this,
                [this, &form](int id, bool on) {
                    if (on && !showing_) {
                        form.HtmlBackgroundMode = id;
                    }
                });
        connect(w_.CmdDefaultHTML, &QPushButton::clicked, this,
                [this] { Run([this] { ResetHtmlCommand(session_); }); });
    }
}

void ReadMeForm::ConnectOutputPages() {
    if (Bind(w_.OptPreviewModeGroup)) {
        connect(w_.OptPreviewModeGroup, &QButtonGroup::idClicked, this,
                [this](int id) { Run([&] { SelectPreviewMode(session_, id); }); });
    }
    if (Bind(w_.CmdGetInformation)) {
        for (std::size_t i = 0; i < w_.OptTopicsOptionBold.size(); ++i) {
            connect(w_.OptTopicsOptionBold[i], &QRadioButton::clicked, this,
                    [this, i] { Run([&] { SelectEmphasisOption(session_, i == 0); }); });
        }
        connect(w_.CmdFontSelect[0], &QPushButton::clicked, this,
                [this] { Run([this] { ChangeFontCommand(session_); }); });
        connect(w_.CmdFontSelect[1], &QPushButton::clicked, this,
                [this] { Run([this] { DefaultFontCommand(session_); }); });
        connect(w_.CmdGetInformation, &QPushButton::clicked, this,
                [this] { Run([this] { GetInformation(session_); }); });
    }
    if (Bind(w_.TemplateList)) {
        connect(w_.CmdLoadTemplate, &QPushButton::clicked, this,
                [this] { Run([this] { ScanTemplateFolder(session_); }); });
        connect(w_.TemplateList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
            // The entry keeps its index: a file name that is not valid UTF-8 still
            // reaches the core byte for byte.
            const int index = item != nullptr ? item->data(Qt::UserRole).toInt() : -1;
            if (index >= 0 && static_cast<std::size_t>(index) < session_.TemplateList.size()) {
                const std::string name = session_.TemplateList[static_cast<std::size_t>(index)];
                Run([&] { ShowTemplate(session_, name); });
            }
        });
    }
}

std::string ReadMeForm::SingleLineOf(QLineEdit* box, const QString& text) {
    std::string value = AsSingleLine(FromQt(text));
    const QString shown = ToQt(value);
    if (shown != text) {
        // A pasted line break became a blank in the form: the box shows the
        // same, with the cursor where it was.
        const bool wasShowing = showing_;
        showing_ = true;
        const int cursor = box->cursorPosition();
        box->setText(shown);
        box->setCursorPosition(std::min(cursor, static_cast<int>(shown.size())));
        showing_ = wasShowing;
    }
    return value;
}

bool ReadMeForm::Bind(const QObject* widget) {
    return widget != nullptr && bound_.insert(widget).second;
}

void ReadMeForm::ConnectPages() {
    // Each function connects what stands on the pages filled so far, each
    // control once.
    ConnectFields();
    ConnectLinesPage();
    ConnectLongTextsPage();
    ConnectOrderPage();
    ConnectOtherPages();
    ConnectOutputPages();
}

void ReadMeForm::FillPage(std::size_t n) {
    if (!EnsurePage(n)) {
        return;
    }
    ConnectPages();
    // The new controls show what the session holds now.
    ShowForm();
    ShowOrder();
    ShowEmphasis();
    ShowLongText();
    ShowPreview();
    ShowFonts();
    ShowTemplates();
    ShowInformation();
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
    if (watched == w_.TabPage[0] && event->type() == QEvent::Paint) {
        w_.TabPage[0]->removeEventFilter(this);
        FillNextPageLater();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kelvaro::ui
