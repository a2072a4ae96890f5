// Page 6, ﾌﾟﾚﾋﾞｭｰ: the preview mode and the ReadMe as it will be written.

#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kelvaro::ui {
namespace {

class PreviewPage : public FormPage {
public:
    PreviewPage(QWidget* tab, PageContext& context) : FormPage(tab, context, Page::Preview) {
        Arrange();
        Wire();
    }

protected:
    void ShowMore(Change what) override {
        if (what == Change::Preview) {
            text_->setPlainText(ToBoxText(session().PreviewText));
        }
    }

private:
    // The caption and the modes in one row, the text under them.
    void Arrange() {
        auto* layout = PageLayout(tab());
        auto* modes = new QHBoxLayout;
        modes->addWidget(At(0, 0));
        modes->addSpacing(12);
        for (int column = 1; column < description().Columns; ++column) {
            modes->addWidget(At(0, column));
        }
        modes->addStretch();
        layout->addLayout(modes);
        text_ = At<QPlainTextEdit>(1, 0);
        layout->addWidget(text_, 1);
    }

    QPlainTextEdit* text_ = nullptr;
};

} // namespace

FormPage* MakePreviewPage(QWidget* tab, PageContext& context) {
    return new PreviewPage(tab, context);
}

} // namespace kelvaro::ui
