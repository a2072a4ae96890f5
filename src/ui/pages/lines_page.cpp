// Page 1, １行項目: the single-line items in two columns of label and value,
// the size's unit and today's date in the cell beside their value.

#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>

namespace kelvaro::ui {
namespace {

class LinesPage : public FormPage {
public:
    LinesPage(QWidget* tab, PageContext& context) : FormPage(tab, context, Page::Lines) {
        Arrange();
        Wire();
    }

private:
    void Arrange();
};

// The description's columns are label, value and the cell beside the value
// on the left, label and value on the right; here the value and its neighbour
// share one cell, so the right column starts one earlier.
void LinesPage::Arrange() {
    constexpr int kRight = 3;
    auto* grid = new QGridLayout(tab());
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    const int rows = description().Rows;
    for (int row = 0; row < rows; ++row) {
        for (const int side : {0, kRight}) {
            QWidget* name = At(row, side);
            QWidget* value = At(row, side + 1);
            if (name == nullptr || value == nullptr) {
                continue;
            }
            const int column = side == 0 ? 0 : 2;
            if (auto* box = qobject_cast<QLineEdit*>(name)) {
                // A user item's name box takes the width of the labels above
                // it, and as much more as its default name needs; a box whose
                // width hint the layout ignores does not widen its column.
                box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
                grid->setColumnMinimumWidth(column, box->minimumWidth());
            }
            grid->addWidget(name, row, column);
            QWidget* beside = side == 0 ? At(row, side + 2) : nullptr;
            if (beside == nullptr) {
                grid->addWidget(value, row, column + 1);
                continue;
            }
            auto* pair = new QHBoxLayout;
            pair->setSpacing(3);
            pair->addWidget(value, 1);
            pair->addWidget(beside);
            grid->addLayout(pair, row, column + 1);
        }
    }
    // The left values hold the date beside its button; the right ones are
    // combo boxes that need less.
    grid->setColumnStretch(1, 4);
    grid->setColumnStretch(3, 3);
    grid->setRowStretch(rows, 1);
}

} // namespace

FormPage* MakeLinesPage(QWidget* tab, PageContext& context) {
    return new LinesPage(tab, context);
}

} // namespace kelvaro::ui
