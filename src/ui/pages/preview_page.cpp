// Page 6, ﾌﾟﾚﾋﾞｭｰ: the preview mode and the ReadMe as it will be written.

#include "compose/output.h"
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

class PreviewPage : public FormPage {
public:
    PreviewPage(QWidget* tab, PageContext& context) : FormPage(tab, context, Page::Preview) {
        Arrange();
        Wire();
        // Markdown is a mode form files do not store: the mode is the session's.
        connect(modes_, &QButtonGroup::idClicked, this,
                [this](int id) { Run([&] { SelectPreviewMode(session(), id); }); });
    }

protected:
    void ShowMore(Change what) override {
        switch (what) {
        case Change::Form:
            SetOption(modes_, PreviewOption(session()));
            break;
        case Change::Preview:
            SetOption(modes_, PreviewOption(session()));
            text_->setPlainText(ToBoxText(session().PreviewText));
            break;
        default:
            break;
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
            auto* option = At<QRadioButton>(0, column);
            modes_ = option->group();
            modes->addWidget(option);
        }
        modes->addStretch();
        layout->addLayout(modes);
        text_ = At<QPlainTextEdit>(1, 0);
        layout->addWidget(text_, 1);
    }

    QButtonGroup* modes_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

} // namespace

FormPage* MakePreviewPage(QWidget* tab, PageContext& context) {
    return new PreviewPage(tab, context);
}

} // namespace kelvaro::ui
