#include "session/options.h"

#include "model/item_order.h"

namespace kelvaro {

void DefaultTopicsOption(Session& s) {
    SelectEmphasisOption(s.ws, true);
    s.Notify(Change::Emphasis);
    DefaultFont(s);
}

void DefaultFont(Session& s) {
    s.BoxFont = FontChoice{};
    s.Notify(Change::Fonts);
}

} // namespace kelvaro
