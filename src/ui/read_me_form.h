#pragma once

// ReadMeForm, the program's one window. It draws the eight pages and the menu
// bar, mirrors the core's state into its widgets, passes each user event to the
// one core command it stands for, and switches pages. It has no behaviour of
// its own beyond that.
//
// Every control carries its name as objectName; members of a control array are
// named Name_i (TopicsLineText_0 ... TopicsLineText_10), pages TabPage_1 ...
// TabPage_8, so tests and tools find each control by the name users know.

#include "compose/output.h"
#include "session/session.h"

#include <QMainWindow>

#include <array>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QDragEnterEvent;
class QDropEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kelvaro::ui {

class OrderList;

struct FormWidgets {
    QTabWidget* TabSheet = nullptr;
    std::array<QWidget*, PageCount> TabPage{};

    // Page 1: single-line items
    std::array<QLabel*, LineLabelCount> TopicsLine{};
    std::array<QLineEdit*, LineValueCount> TopicsLineText{};
    std::array<QComboBox*, ChoiceValueCount> ComboTopics{};
    QComboBox* ComboSize = nullptr;
    std::array<QLineEdit*, UserNameCount> TopicsAdd{}; // 0, 1 on page 1; 2, 3 on page 2
    QPushButton* CmdGetToday = nullptr;

    // Page 2: long-text items
    QGroupBox* TopicsFrame = nullptr;
    std::array<QRadioButton*, LongTextCount> OptTopics{};
    QPlainTextEdit* Description = nullptr;
    std::array<QPushButton*, 2> CmdTemplate{};

    // Page 3: item order
    QLabel* TopicsSort = nullptr;
    OrderList* SortList = nullptr;
    std::array<QPushButton*, 2> CmdListUpDown{};
    std::array<QPushButton*, 4> CmdListAllCheck{};
    QCheckBox* TopicsSortCheckSpace = nullptr;

    // Page 4: separator line, brackets, replacement
    std::array<QLabel*, 5> TopicsOther{};
    QLineEdit* TopicsOtherPauseChar = nullptr;
    QLineEdit* TopicsOtherPauseNum = nullptr;
    QLineEdit* TopicsOtherLeftChar = nullptr;
    QLineEdit* TopicsOtherRightChar = nullptr;
    QPushButton* CmdGetPauseNum = nullptr;
    QCheckBox* TopicsOtherCheckChange = nullptr;
    QCheckBox* TopicsOtherCheckUserInput = nullptr;

    // Page 5: HTML settings
    std::array<QLabel*, 3> TopicsHTML{};
    std::array<QRadioButton*, 2> OptTopicsHTML{};
    QButtonGroup* OptTopicsHTMLGroup = nullptr;
    std::array<QLineEdit*, HtmlSettingCount> TopicsHTMLInput{};
    std::array<QLabel*, 7> TopicsHTMLColor{};
    QCheckBox* TopicsHTMLCheckHR = nullptr;
    QPushButton* CmdDefaultHTML = nullptr;

    // Page 6: preview
    std::array<QLabel*, 1> TopicsPreview{};
    std::array<QRadioButton*, PreviewOptionCount> OptPreviewMode{};
    QButtonGroup* OptPreviewModeGroup = nullptr;
    QPlainTextEdit* PreviewText = nullptr;

    // Page 7: options and information
    std::array<QLabel*, 3> TopicsOption{};
    std::array<QRadioButton*, 2> OptTopicsOptionBold{};
    std::array<QPushButton*, 2> CmdFontSelect{};
    QPushButton* CmdGetInformation = nullptr;
    QPlainTextEdit* TopicsOptionInfo = nullptr;

    // Page 8: template viewer
    QLabel* TopicsTemplate = nullptr;
    QPushButton* CmdLoadTemplate = nullptr;
    QListWidget* TemplateList = nullptr;
    QPlainTextEdit* TemplateText = nullptr;

    // Menu bar
    QAction* MiFileNew = nullptr;
    QAction* MiFileOpen = nullptr;
    QAction* MiFileSave = nullptr;
    QAction* MiFileSaveAs = nullptr;
    QAction* MiReadMeText = nullptr;
    QAction* MiReadMeHTML = nullptr;
    QAction* MiReadMeMarkdown = nullptr;
    QAction* MiReadMeTextClipboard = nullptr;
    QAction* MiReadMeHTMLClipboard = nullptr;
    QAction* MiReadMeMarkdownClipboard = nullptr;
    QAction* MiExit = nullptr;
    QAction* MiHelpFile = nullptr;
    QAction* MiOnlineHelpPage = nullptr;
    QAction* MiOnlineDevelopmentPage = nullptr;
    QAction* MiGetVersionInfo = nullptr;
};

class ReadMeForm : public QMainWindow {
    Q_OBJECT

public:
    // `host` answers the questions of every command; programFolder is where the
    // program, its Templates folder and its browser page live.
    ReadMeForm(Host& host, AppFolders folders, QWidget* parent = nullptr);
    // Portable: the template folder and the browser page beside the program.
    ReadMeForm(Host& host, const std::string& programFolder, QWidget* parent = nullptr);
    ~ReadMeForm() override;

    Session& session() { return session_; }
    const FormWidgets& widgets() const { return w_; }

    // Opens a form file as フォームを開く does (the command line, a dropped file).
    void OpenFormFile(const std::string& path);

    // The pages are filled with their controls when first shown, or in the idle
    // time after the first frame; until then a page is an empty widget.
    bool PageFilled(std::size_t n) const { return n < PageCount && pageBuilt_[n]; }
    // Fills every page now (tests and tools that reach all controls at once).
    void FillAllPages();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Building (read_me_pages.cpp)
    void BuildMenus();
    void BuildPages();
    // Fills page n (0-based) when it has not been filled yet; true when it did.
    bool EnsurePage(std::size_t n);
    void BuildLinesPage(QWidget* page);
    void BuildLongTextsPage(QWidget* page);
    void BuildOrderPage(QWidget* page);
    void BuildOtherPage(QWidget* page);
    void BuildHtmlPage(QWidget* page);
    void BuildPreviewPage(QWidget* page);
    void BuildOptionsPage(QWidget* page);
    void BuildTemplateViewerPage(QWidget* page);
    void SizeToDesign();

    // The plain fields: each of these boxes shows one field of the form and
    // stores what the user puts into it. One list serves both directions.
    std::vector<std::pair<QLineEdit*, std::string*>> TextFields();
    std::vector<std::pair<QCheckBox*, int*>> CheckFields();

    // Routing (read_me_form.cpp)
    void ConnectMenus();
    void ConnectPages();
    // True the first time for a control that exists: each is connected once.
    bool Bind(const QObject* widget);
    // The one-line value of a box's text; a line break in it becomes a blank in
    // the box as well.
    std::string SingleLineOf(QLineEdit* box, const QString& text);
    void FillPage(std::size_t n);
    void FillNextPageLater();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void ConnectFields();
    void ConnectLinesPage();
    void ConnectLongTextsPage();
    void ConnectOrderPage();
    void ConnectOtherPages();
    void ConnectOutputPages();
    template <typename Command> void Run(Command&& command);
    void OnTabClicked(int index);
    void OnTabChanged(int index);
    void OnSortListItemChanged(QListWidgetItem* item);

    // Mirroring the core into the widgets (read_me_mirror.cpp)
    void OnChanged(Change what);
    void ShowForm();
    void ShowOrder();
    void ShowEmphasis();
    void ShowLongText();
    void ShowPreview();
    void ShowFonts();
    // The colours of the large text boxes, from the theme and the user's pick.
    void PaintBoxes();
    void ShowTemplates();
    void ShowInformation();
    void ShowTitle();
    // Brings what the user typed into the long-text box into the core.
    void PullEditor();

    Session session_;
    FormWidgets w_;
    // True while the window writes the core's state into its widgets, so the
    // widgets' change signals do not echo it back as user input.
    bool showing_ = false;
    std::array<bool, PageCount> pageBuilt_{};
    std::unordered_set<const QObject*> bound_;
    bool editorDirty_ = false;
    // True while a template is loaded into the long-text box: the box then
    // takes the new text as one step of its undo history.
    bool loadingTemplate_ = false;
};

} // namespace kelvaro::ui
