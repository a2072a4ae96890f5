// Page 7, ｵﾌﾟｼｮﾝ: whether checked items' names are drawn bold, the font of the
// large boxes, and the system information.

#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kelvaro::ui {
namespace {

class OptionsPage : public FormPage {
public:
    OptionsPage(QWidget* tab, PageContext& context) : FormPage(tab, context, Page::Options) {
        Arrange();
        Wire();
    }

protected:
    void ShowMore(Change what) override {
        if (what == Change::Information) {
            info_->setPlainText(ToBoxText(session().InformationText));
        }
    }

private:
    void Arrange();

    QPlainTextEdit* info_ = nullptr;
};

// Each heading leads its rows, which are indented under it; the information's
// button stands at the end of its heading's row.
void OptionsPage::Arrange() {
    constexpr int kIndent = 12;
    auto* layout = PageLayout(tab());
    layout->addWidget(At(0, 0));
    for (int row = 1; row <= 2; ++row) {
        QWidget* option = At(row, 1);
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
