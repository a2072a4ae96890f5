#include "session/unsaved.h"

#include "platform/app_info.h"

#include <cstddef>
#include <string>

namespace kelvaro {

void MarkFormClean(Session& s) {
    s.CleanForm = s.ws.form;
    s.CleanForm.LongTexts[static_cast<std::size_t>(s.ws.CurrentLongItem)] = s.ws.EditorText;
    s.CleanEditCount = s.EditCount;
    s.ChangedRegardless = false;
}

bool HasUnsavedChanges(Session& s) {
    if (s.ChangedRegardless) {
        return true;
    }
    if (s.EditCount == s.CleanEditCount) {
        return false;
    }
    // The editor's text stands for its slot, which may not be committed yet.
    // Swapped in for the comparison rather than copied: a form can be large.
    std::string& slot = s.ws.form.LongTexts[static_cast<std::size_t>(s.ws.CurrentLongItem)];
    slot.swap(s.ws.EditorText);
    const bool same = s.ws.form == s.CleanForm;
    slot.swap(s.ws.EditorText);
    return !same;
}

bool ConfirmDiscardChanges(Session& s) {
    if (!HasUnsavedChanges(s)) {
        return true;
    }
    MessageRequest question{
        "フォームの変更は保存されていません。保存せずに別のフォームを開きますか？",
        AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo, MessageIcon::Exclamation,
        MessageAnswer::No};
    return s.host.ShowMessage(question) == MessageAnswer::Yes;
}

} // namespace kelvaro
