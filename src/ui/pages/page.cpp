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

void FormPage::ForEachEmphasis(
    const std::function<void(const CatalogueItem&, std::size_t, bool)>& show) const {
    const Workspace& ws = session().ws;
    for (const CatalogueItem& item : Catalogue()) {
        if (item.EmphasisIndex >= 0 && item.ControlIndex >= 0) {
            show(item, static_cast<std::size_t>(item.ControlIndex),
                 ws.ItemEmphasis[static_cast<std::size_t>(item.EmphasisIndex)]);
        }
    }
}

void FormPage::Edited() const {
    NoteFormEdited(context_.session);
}

} // namespace kelvaro::ui
