// Page 5, HTML: the page's background (colour or picture), the seven style
// settings, the separator as <HR>, and the reset of all HTML settings.

#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"

#include <QGridLayout>
#include <QHBoxLayout>

namespace kelvaro::ui {
namespace {

class HtmlPage : public FormPage {
public:
    HtmlPage(QWidget* tab, PageContext& context) : FormPage(tab, context, Page::Html) {
        Arrange();
        Wire();
    }

private:
    void Arrange();
};

// The headings span the page; the background's options and boxes share one
// row, each style stands in a row of its own under the second heading, and
// the last heading leads the row of the check box and the reset.
void HtmlPage::Arrange() {
    const int last = description().Rows - 1;
    const int columns = description().Columns;
    auto* grid = new QGridLayout(tab());
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(3);
    grid->addWidget(At(0, 0), 0, 0, 1, 3);
    auto* backgroundRow = new QHBoxLayout;
    for (int column = 1; column < columns; column += 2) {
        backgroundRow->addWidget(At(1, column));
        backgroundRow->addWidget(At(1, column + 1), 1);
    }
    grid->addLayout(backgroundRow, 1, 1, 1, 2);
    grid->addWidget(At(2, 0), 2, 0, 1, 3);
    for (int row = 3; row < last; ++row) {
        grid->addWidget(At(row, 1), row, 1);
        grid->addWidget(At(row, 2), row, 2);
    }
    auto* otherRow = new QHBoxLayout;
    otherRow->addWidget(At(last, 0));
    otherRow->addSpacing(6);
    otherRow->addWidget(At(last, 2));
    otherRow->addStretch();
    otherRow->addWidget(At(last, columns - 1));
    grid->addLayout(otherRow, last, 0, 1, 3);
    grid->setColumnMinimumWidth(0, 8);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(last + 1, 1);
}

} // namespace

FormPage* MakeHtmlPage(QWidget* tab, PageContext& context) {
    return new HtmlPage(tab, context);
}

} // namespace kelvaro::ui
