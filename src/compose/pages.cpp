#include "compose/pages.h"

#include "compose/output.h"

namespace kelvaro {

void SelectPage(Session& s, Page page) {
    s.CurrentPage = page;
    if (page == Page::Preview) {
        RefreshPreview(s);
    }
}

} // namespace kelvaro
