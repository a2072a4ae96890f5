// Page 7, ｵﾌﾟｼｮﾝ: whether checked items' names are drawn bold, the font of the
// large boxes, and the system information.

#include "session/edits.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kelvaro::ui {
namespace {

class OptionsPage : public FormPage {
public:
    OptionsPage(QWidget* tab, PageContext& context) : FormPage(tab, context, Page::Options) {
        Arrange();
        Wire();
        // The first option draws checked items' names bold, the second does not.
        connect(bold_, &QButtonGroup::idClicked, this,
                [this](int id) { Run([&] { SelectEmphasisOption(session(), id == 0); }); });
    }

protected:
    void ShowMore(Change what) override {
        switch (what) {
        case Change::Emphasis:
            bold_->button(session().ws.EmphasisEnabled ? 0 : 1)->setChecked(true);
            break;
        case Change::Information:
            info_->setPlainText(ToBoxText(session().InformationText));
            break;
        default:
            break;
        }
    }

private:
    void Arrange();

    QButtonGroup* bold_ = nullptr;
    QPlainTextEdit* info_ = nullptr;
};

// Each heading leads its rows, which are indented under it; the information's
// button stands at the end of its heading's row.
void OptionsPage::Arrange() {
    constexpr int kIndent = 12;
    auto* layout = PageLayout(tab());
    layout->addWidget(At(0, 0));
    for (int row = 1; row <= 2; ++row) {
        auto* option = At<QRadioButton>(row, 1);
        bold_ = option->group();
        auto* indented = new QHBoxLayout;
        indented->addSpacing(kIndent);
        indented->addWidget(option);
        layout->addLayout(indented);
    }
    layout->addWidget(At(3, 0));
    auto* fonts = new QHBoxLayout;
    fonts->addSpacing(kIndent);
    fonts->addWidget(At(4, 1));
    fonts->addWidget(At(4, 2));
    fonts->addStretch();
    layout->addLayout(fonts);
    auto* infoRow = new QHBoxLayout;
    infoRow->addWidget(At(5, 0));
    infoRow->addStretch();
    infoRow->addWidget(At(5, description().Columns - 1));
    layout->addLayout(infoRow);
    info_ = At<QPlainTextEdit>(6, 0);
    layout->addWidget(info_, 1);
}

} // namespace

FormPage* MakeOptionsPage(QWidget* tab, PageContext& context) {
    return new OptionsPage(tab, context);
}

} // namespace kelvaro::ui
