// Page 6, ﾌﾟﾚﾋﾞｭｰ: the preview mode and the ReadMe as it will be written.

#include "compose/output.h"
#include "ui/font_colour_dialog.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <array>

namespace kelvaro::ui {
namespace {

// The form's three preview modes, then Markdown, which form files do not store.
constexpr std::array<const char*, PreviewOptionCount> kModes{"Text", "HTML(Text)", "HTML(Browser)",
                                                             "Markdown"};

class PreviewPage : public FormPage {
public:
    PreviewPage(QWidget* tab, PageContext& context) : FormPage(tab, context) {
        Build();
        connect(modes_, &QButtonGroup::idClicked, this,
                [this](int id) { Run([&] { SelectPreviewMode(session(), id); }); });
    }

    void Refresh(Change what) override {
        const Showing quiet(showingFlag());
        switch (what) {
        case Change::Form:
            SetOption(modes_, PreviewOption(session()));
            break;
        case Change::Preview:
            SetOption(modes_, PreviewOption(session()));
            text_->setPlainText(ToBoxText(session().PreviewText));
            break;
        case Change::Fonts:
            text_->setFont(ToQFont(session().BoxFont.Font));
            PaintBox(text_, session().BoxFont, true);
            break;
        default:
            break;
        }
    }

    void ThemeChanged() override { PaintBox(text_, session().BoxFont, true); }

private:
    void Build() {
        QWidget* page = tab();
        auto* layout = PageLayout(page);
        auto* modes = new QHBoxLayout;
        auto* caption = Label(QStringLiteral("プレビュー"), Indexed("TopicsPreview", 0), page);
        modes->addWidget(caption);
        modes->addSpacing(12);
        modes_ = Named(new QButtonGroup(page), QStringLiteral("OptPreviewModeGroup"));
        for (std::size_t i = 0; i < kModes.size(); ++i) {
            const int id = static_cast<int>(i);
            auto* option = Radio(QString::fromUtf8(kModes[i]), Indexed("OptPreviewMode", id), page);
            modes_->addButton(option, id);
            modes->addWidget(option);
        }
        modes->addStretch();
        layout->addLayout(modes);
        text_ = TextBox(QStringLiteral("PreviewText"), true, page);
        NameBy(caption, text_);
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
