// Page 4, その他: the separator line (its characters and count, with the assist
// that finds the count), the brackets, and the replacement options.

#include "session/edits.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "window/buttons.h"
#include "window/check_boxes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace kelvaro::ui {
namespace {

class OtherPage : public FormPage {
public:
    OtherPage(QWidget* tab, PageContext& context) : FormPage(tab, context) {
        Build();
        Connect();
    }

    void Refresh(Change what) override {
        if (what != Change::Form) {
            return;
        }
        const Showing quiet(showingFlag());
        const Form& form = session().ws.form;
        SetText(pauseChars_, form.PauseChars);
        SetText(pauseCount_, form.PauseCount);
        SetText(left_, form.LeftBracket);
        SetText(right_, form.RightBracket);
        ShowCheck(useReplacement_, CheckId::UseReplacement, form);
        ShowCheck(replaceUserInput_, CheckId::ReplaceUserInput, form);
    }

private:
    void Build();
    void Connect();

    QLineEdit* pauseChars_ = nullptr;
    QLineEdit* pauseCount_ = nullptr;
    QLineEdit* left_ = nullptr;
    QLineEdit* right_ = nullptr;
    QPushButton* pauseAssist_ = nullptr;
    QCheckBox* useReplacement_ = nullptr;
    QCheckBox* replaceUserInput_ = nullptr;
};

void OtherPage::Build() {
    QWidget* page = tab();
    auto* layout = PageLayout(page);
    const std::array<const char*, 5> captions{"区切り線", "を", "回繰り返す", "括弧", "置換"};
    std::array<QLabel*, captions.size()> labels{};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        labels[i] = Label(QString::fromUtf8(captions[i]),
                          Indexed("TopicsOther", static_cast<int>(i)), page);
    }
    pauseChars_ = LineEdit(QStringLiteral("TopicsOtherPauseChar"), page);
    // The count reads as what the row says of it; the brackets by their side.
    pauseCount_ = LineEdit(QStringLiteral("TopicsOtherPauseNum"), page,
                           QStringLiteral("区切り線を繰り返す回数"));
    left_ = LineEdit(QStringLiteral("TopicsOtherLeftChar"), page, QStringLiteral("左の括弧"));
    right_ = LineEdit(QStringLiteral("TopicsOtherRightChar"), page, QStringLiteral("右の括弧"));
    pauseAssist_ = Button(ButtonId::GetPauseNum, page);
    useReplacement_ = CheckBox(CheckId::UseReplacement, page);
    replaceUserInput_ = CheckBox(CheckId::ReplaceUserInput, page);

    // The labels lead to the boxes they stand before.
    NameBy(labels[0], pauseChars_);
    labels[1]->setBuddy(pauseCount_);
    labels[3]->setBuddy(left_);

    // Read along the first row: 区切り線 [characters] を [count] 回繰り返す.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(labels[0], 0, 0);
    auto* pauseRow = new QHBoxLayout;
    pauseRow->addWidget(pauseChars_, 3);
    pauseRow->addWidget(labels[1]);
    pauseRow->addWidget(pauseCount_, 1);
    pauseRow->addWidget(labels[2]);
    grid->addLayout(pauseRow, 0, 1);
    auto* assistRow = new QHBoxLayout;
    assistRow->addStretch();
    assistRow->addWidget(pauseAssist_);
    grid->addLayout(assistRow, 1, 1);
    grid->addWidget(labels[3], 2, 0);
    auto* bracketRow = new QHBoxLayout;
    bracketRow->addWidget(left_, 1);
    bracketRow->addWidget(right_, 1);
    bracketRow->addStretch(2);
    grid->addLayout(bracketRow, 2, 1);
    grid->addWidget(labels[4], 3, 0);
    grid->addWidget(useReplacement_, 3, 1);
    grid->addWidget(replaceUserInput_, 4, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();
    TabInOrder({pauseChars_, pauseCount_, pauseAssist_, left_, right_, useReplacement_,
                replaceUserInput_});
}

void OtherPage::Connect() {
    Form& form = session().ws.form;
    StoreTyping(this, session(), pauseChars_, &form.PauseChars, showingFlag());
    StoreTyping(this, session(), pauseCount_, &form.PauseCount, showingFlag());
    StoreTyping(this, session(), left_, &form.LeftBracket, showingFlag());
    StoreTyping(this, session(), right_, &form.RightBracket, showingFlag());
    StoreTicks(this, session(), useReplacement_, CheckId::UseReplacement, showingFlag());
    StoreTicks(this, session(), replaceUserInput_, CheckId::ReplaceUserInput, showingFlag());
    connect(pauseAssist_, &QPushButton::clicked, this,
            [this] { RunOnSession(ButtonOf(ButtonId::GetPauseNum).Command); });
}

} // namespace

FormPage* MakeOtherPage(QWidget* tab, PageContext& context) {
    return new OtherPage(tab, context);
}

} // namespace kelvaro::ui
