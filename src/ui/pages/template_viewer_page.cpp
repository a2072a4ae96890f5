// Page 8, ﾃﾝﾌﾟﾚｰﾄﾋﾞｭｰｱ: the templates of the template folder and the text of
// the one chosen.

#include "templates/template_viewer.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvaro::ui {
namespace {

class TemplateViewerPage : public FormPage {
public:
    TemplateViewerPage(QWidget* tab, PageContext& context)
        : FormPage(tab, context, Page::TemplateViewer) {
        Arrange();
        Wire();
        Connect();
    }

protected:
    void ShowMore(Change what) override {
        if (what == Change::Templates) {
            ShowTemplates();
        }
    }

private:
    void Arrange();
    void Connect();
    void ShowTemplates();

    QListWidget* list_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

// The caption and the button in one row; the list and the text share the rest.
void TemplateViewerPage::Arrange() {
    auto* layout = PageLayout(tab());
    auto* top = new QHBoxLayout;
    top->addWidget(At(0, 0));
    top->addStretch();
    top->addWidget(At(0, 1));
    layout->addLayout(top);
    auto* body = new QHBoxLayout;
    list_ = At<QListWidget>(1, 0);
    text_ = At<QPlainTextEdit>(1, 1);
    // The list grows with the window and is never narrower than its longest
    // name (see ShowTemplates): names like "アンインストール方法(…)" differ
    // only at their end.
    body->addWidget(list_, 1);
    body->addWidget(text_, 1);
    layout->addLayout(body, 1);
}

void TemplateViewerPage::Connect() {
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        // The entry keeps its index: a file name that is not valid UTF-8 still
        // reaches the core byte for byte.
        const int index = item != nullptr ? item->data(Qt::UserRole).toInt() : -1;
        if (index >= 0 && static_cast<std::size_t>(index) < session().TemplateList.size()) {
            const std::string name = session().TemplateList[static_cast<std::size_t>(index)];
            Run([&] { ShowTemplate(session(), name); });
        }
    });
}

void TemplateViewerPage::ShowTemplates() {
    const auto& names = session().TemplateList;
    bool same = list_->count() == static_cast<int>(names.size());
    for (int i = 0; same && i < list_->count(); ++i) {
        same = list_->item(i)->text() == ToQt(names[static_cast<std::size_t>(i)]);
    }
    if (!same) {
        list_->clear();
        for (std::size_t i = 0; i < names.size(); ++i) {
            auto* item = new QListWidgetItem(ToQt(names[i]), list_);
            item->setData(Qt::UserRole, static_cast<int>(i));
        }
        // Every name whole: the list is at least as wide as the longest, up to
        // half the screen (a longer one scrolls).
        const int scrollBar =
            list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list_);
        const int wanted = list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + scrollBar;
        QScreen* screen = tab()->screen();
        const int most = screen != nullptr ? screen->availableGeometry().width() / 2 : wanted;
        list_->setMinimumWidth(std::min(wanted, most));
    }
    text_->setPlainText(ToBoxText(session().TemplateText));
}

} // namespace

FormPage* MakeTemplateViewerPage(QWidget* tab, PageContext& context) {
    return new TemplateViewerPage(tab, context);
}

} // namespace kelvaro::ui
