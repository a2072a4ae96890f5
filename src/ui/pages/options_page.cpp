// Page 7, ｵﾌﾟｼｮﾝ: whether checked items' names are drawn bold, the font of the
// large boxes, and the system information.

#include "session/edits.h"
#include "settings/commands.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"
#include "window/buttons.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace kelvaro::ui {
namespace {

constexpr std::array<const char*, 2> kBold{"チェックがついている項目の名前を強調表示",
                                           "強調表示を利用しない"};

class OptionsPage : public FormPage {
public:
    OptionsPage(QWidget* tab, PageContext& context) : FormPage(tab, context) {
        Build();
        Connect();
    }

    void Refresh(Change what) override {
        const Showing quiet(showingFlag());
        switch (what) {
        case Change::Emphasis:
            bold_[session().ws.EmphasisEnabled ? 0 : 1]->setChecked(true);
            break;
        case Change::Fonts:
            PaintBox(info_, session().BoxFont, false);
            break;
        case Change::Information:
            info_->setPlainText(ToBoxText(session().InformationText));
            break;
        default:
            break;
        }
    }

    void ThemeChanged() override { PaintBox(info_, session().BoxFont, false); }

private:
    void Build();
    void Connect();

    std::array<QRadioButton*, kBold.size()> bold_{};
    QPushButton* changeFont_ = nullptr;
    QPushButton* defaultFont_ = nullptr;
    QPushButton* getInformation_ = nullptr;
    QPlainTextEdit* info_ = nullptr;
};

void OptionsPage::Build() {
    QWidget* page = tab();
    auto* layout = PageLayout(page);
    const std::array<const char*, 3> captions{
        "入力補助", "長文項目 ・ ﾌﾟﾚﾋﾞｭｰ ・ ﾃﾝﾌﾟﾚｰﾄﾋﾞｭｰｱ のフォント指定", "各種情報取得"};
    std::array<QLabel*, captions.size()> headings{};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        headings[i] = Label(QString::fromUtf8(captions[i]),
                            Indexed("TopicsOption", static_cast<int>(i)), page);
    }

    layout->addWidget(headings[0]);
    auto* boldGroup = new QButtonGroup(page);
    for (std::size_t i = 0; i < kBold.size(); ++i) {
        const int id = static_cast<int>(i);
        bold_[i] = Radio(QString::fromUtf8(kBold[i]), Indexed("OptTopicsOptionBold", id), page);
        boldGroup->addButton(bold_[i], id);
        auto* indented = new QHBoxLayout;
        indented->addSpacing(12);
        indented->addWidget(bold_[i]);
        layout->addLayout(indented);
    }

    layout->addWidget(headings[1]);
    auto* fonts = new QHBoxLayout;
    fonts->addSpacing(12);
    changeFont_ = Button(ButtonId::ChangeFont, page);
    defaultFont_ = Button(ButtonId::DefaultFont, page);
    fonts->addWidget(changeFont_);
    fonts->addWidget(defaultFont_);
    fonts->addStretch();
    layout->addLayout(fonts);

    auto* infoRow = new QHBoxLayout;
    infoRow->addWidget(headings[2]);
    infoRow->addStretch();
    getInformation_ = Button(ButtonId::GetInformation, page);
    infoRow->addWidget(getInformation_);
    layout->addLayout(infoRow);
    info_ = TextBox(QStringLiteral("TopicsOptionInfo"), true, page);
    NameBy(headings[2], info_);
    layout->addWidget(info_, 1);
}

void OptionsPage::Connect() {
    for (std::size_t i = 0; i < bold_.size(); ++i) {
        connect(bold_[i], &QRadioButton::clicked, this,
                [this, i] { Run([&] { SelectEmphasisOption(session(), i == 0); }); });
    }
    connect(changeFont_, &QPushButton::clicked, this,
            [this] { RunOnSession(ButtonOf(ButtonId::ChangeFont).Command); });
    connect(defaultFont_, &QPushButton::clicked, this,
            [this] { RunOnSession(ButtonOf(ButtonId::DefaultFont).Command); });
    connect(getInformation_, &QPushButton::clicked, this,
            [this] { RunOnSession(ButtonOf(ButtonId::GetInformation).Command); });
}

} // namespace

FormPage* MakeOptionsPage(QWidget* tab, PageContext& context) {
    return new OptionsPage(tab, context);
}

} // namespace kelvaro::ui
