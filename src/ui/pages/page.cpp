#include "ui/pages/page.h"

#include "session/edits.h"

#include <QWidget>

namespace kelvaro::ui {

FormPage::FormPage(QWidget* tab, PageContext& context)
    : QObject(tab), tab_(tab), context_(context) {}

void FormPage::RefreshAll() {
    for (Change what : {Change::Form, Change::Order, Change::Emphasis, Change::LongText,
                        Change::Preview, Change::Fonts, Change::Templates, Change::Information}) {
        Refresh(what);
    }
}

void FormPage::Edited() const {
    NoteFormEdited(context_.session);
}

} // namespace kelvaro::ui
