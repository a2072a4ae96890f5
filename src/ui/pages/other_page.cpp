// Page 4, その他: the separator line (its characters and count, with the assist
// that finds the count), the brackets, and the replacement options.

#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kelvaro::ui {
namespace {

class OtherPage : public FormPage {
public:
    OtherPage(QWidget* tab, PageContext& context) : FormPage(tab, context, Page::Other) {
        Arrange();
        Wire();
    }

private:
    void Arrange();
};

// The labels stand in the first column; each row's other cells share the
// second, so the row reads as one line: 区切り線 [characters] を [count] 回繰り返す.
void OtherPage::Arrange() {
    auto* layout = PageLayout(tab());
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(At(0, 0), 0, 0);
    auto* pauseRow = new QHBoxLayout;
    pauseRow->addWidget(At(0, 1), 3);
    pauseRow->addWidget(At(0, 2));
    pauseRow->addWidget(At(0, 3), 1);
    pauseRow->addWidget(At(0, 4));
    grid->addLayout(pauseRow, 0, 1);
    auto* assistRow = new QHBoxLayout;
    assistRow->addStretch();
    assistRow->addWidget(At(1, 3));
    grid->addLayout(assistRow, 1, 1);
    grid->addWidget(At(2, 0), 2, 0);
    auto* bracketRow = new QHBoxLayout;
    bracketRow->addWidget(At(2, 1), 1);
    bracketRow->addWidget(At(2, 2), 1);
    bracketRow->addStretch(2);
    grid->addLayout(bracketRow, 2, 1);
    grid->addWidget(At(3, 0), 3, 0);
    grid->addWidget(At(3, 1), 3, 1);
    grid->addWidget(At(4, 1), 4, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();
}

} // namespace

FormPage* MakeOtherPage(QWidget* tab, PageContext& context) {
    return new OtherPage(tab, context);
}

} // namespace kelvaro::ui
