// Page 5, HTML: the page's background (colour or picture), the seven style
// settings, the separator as <HR>, and the reset of all HTML settings.

#include "model/form.h"
#include "settings/commands.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "window/buttons.h"
#include "window/check_boxes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <vector>

namespace kelvaro::ui {
namespace {

constexpr std::array<const char*, 2> kBackgrounds{"背景色を使用する", "背景画像を使用する"};
// What a screen reader calls the box beside each background option.
constexpr std::array<const char*, 2> kBackgroundBoxNames{"背景色", "背景画像"};
// The seven style settings follow the two background settings in order.
constexpr std::array<const char*, HtmlSettingCount - HtmlSetting::LinkStyle> kStyles{
    "Link", "Active Link", "Visited Link", "Hover Link", "BODY", "区切り線", "括弧項目"};

class HtmlPage : public FormPage {
public:
    HtmlPage(QWidget* tab, PageContext& context) : FormPage(tab, context) {
        Build();
        Connect();
    }

    void Refresh(Change what) override {
        if (what != Change::Form) {
            return;
        }
        const Showing quiet(showingFlag());
        const Form& form = session().ws.form;
        for (std::size_t i = 0; i < inputs_.size(); ++i) {
            SetText(inputs_[i], form.HtmlSettings[i]);
        }
        ShowCheck(pauseAsHr_, CheckId::HtmlPauseAsHr, form);
        SetOption(background_, form.HtmlBackgroundMode);
    }

private:
    void Build();
    void Connect();

    std::array<QLineEdit*, HtmlSettingCount> inputs_{};
    QButtonGroup* background_ = nullptr;
    QCheckBox* pauseAsHr_ = nullptr;
    QPushButton* reset_ = nullptr;
};

void HtmlPage::Build() {
    QWidget* page = tab();
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(3);
    const std::array<const char*, 3> sections{"背景", "色設定 (StyleSheet)", "その他"};
    std::array<QLabel*, sections.size()> headings{};
    for (std::size_t i = 0; i < sections.size(); ++i) {
        headings[i] =
            Label(QString::fromUtf8(sections[i]), Indexed("TopicsHTML", static_cast<int>(i)), page);
    }
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        inputs_[i] = LineEdit(Indexed("TopicsHTMLInput", static_cast<int>(i)), page);
    }

    background_ = Named(new QButtonGroup(page), QStringLiteral("OptTopicsHTMLGroup"));
    auto* backgroundRow = new QHBoxLayout;
    // Tab reads each background option before its box, then the styles.
    std::vector<QWidget*> stops;
    for (std::size_t i = 0; i < kBackgrounds.size(); ++i) {
        const int id = static_cast<int>(i);
        auto* option =
            Radio(QString::fromUtf8(kBackgrounds[i]), Indexed("OptTopicsHTML", id), page);
        stops.push_back(option);
        stops.push_back(inputs_[i]);
        background_->addButton(option, id);
        Speak(inputs_[i], QString::fromUtf8(kBackgroundBoxNames[i]));
        backgroundRow->addWidget(option);
        backgroundRow->addWidget(inputs_[i], 1);
    }
    int row = 0;
    grid->addWidget(headings[0], row, 0, 1, 3);
    ++row;
    grid->addLayout(backgroundRow, row, 1, 1, 2);

    ++row;
    grid->addWidget(headings[1], row, 0, 1, 3);
    for (std::size_t i = 0; i < kStyles.size(); ++i) {
        auto* label = Label(QString::fromUtf8(kStyles[i]),
                            Indexed("TopicsHTMLColor", static_cast<int>(i)), page);
        QLineEdit* input = inputs_[HtmlSetting::LinkStyle + i];
        NameBy(label, input);
        ++row;
        grid->addWidget(label, row, 1);
        grid->addWidget(input, row, 2);
    }

    ++row;
    pauseAsHr_ = CheckBox(CheckId::HtmlPauseAsHr, page);
    reset_ = Button(ButtonId::ResetHtml, page);
    auto* otherRow = new QHBoxLayout;
    otherRow->addWidget(headings[2]);
    otherRow->addSpacing(6);
    otherRow->addWidget(pauseAsHr_);
    otherRow->addStretch();
    otherRow->addWidget(reset_);
    grid->addLayout(otherRow, row, 0, 1, 3);
    grid->setColumnMinimumWidth(0, 8);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(row + 1, 1);
    stops.insert(stops.end(), inputs_.begin() + static_cast<std::ptrdiff_t>(HtmlSetting::LinkStyle),
                 inputs_.end());
    stops.push_back(pauseAsHr_);
    stops.push_back(reset_);
    TabInOrder(stops);
}

void HtmlPage::Connect() {
    Form& form = session().ws.form;
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        StoreTyping(this, session(), inputs_[i], &form.HtmlSettings[i], showingFlag());
    }
    StoreTicks(this, session(), pauseAsHr_, CheckId::HtmlPauseAsHr, showingFlag());
    connect(background_, &QButtonGroup::idToggled, this, [this, &form](int id, bool on) {
        if (on && !showing()) {
            form.HtmlBackgroundMode = id;
            Edited();
        }
    });
    connect(reset_, &QPushButton::clicked, this,
            [this] { RunOnSession(ButtonOf(ButtonId::ResetHtml).Command); });
}

} // namespace

FormPage* MakeHtmlPage(QWidget* tab, PageContext& context) {
    return new HtmlPage(tab, context);
}

} // namespace kelvaro::ui
