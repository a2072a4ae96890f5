#pragma once

// The real window in the test's own process, as a user starts it: a fresh
// portable folder, the scripted host where a dialog would stop the test, and
// a recovery journal of its own.

#include "model/defaults.h"
#include "model/form_fields.h"
#include "platform/app_folders.h"
#include "platform/file_io.h"
#include "recovery/journal.h"
#include "recovery/journal_file.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"
#include "win32/main_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace kelvaro::win32 {

using namespace std::chrono_literals;

struct Running {
    Running() {
        journal = std::make_unique<RecoveryJournal>(dir.Path());
        window.controller().SetJournal(journal.get(), dir.Path());
        ShowWindow(window.Handle(), SW_SHOW);
        host.Messages.clear();
    }
    // The window's timer for long enough that what changed is journaled.
    void Wait() {
        const auto start = WindowController::Clock::now();
        for (auto at = 0ms; at <= RecoveryJournal::Quiet + 300ms;
             at += WindowController::TickInterval) {
            window.controller().Tick(start + at);
            journal->Flush();
        }
    }
    Form Journaled() const {
        return ReadJournalText(ReadWholeFile(journal->Path()), FreshWorkspace()).Restored.form;
    }
    void Pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!window.PreTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    test::TempFolder dir;
    test::ScriptedHost host;
    MainWindow window{host, PortableFolders(dir.Path())};
    std::unique_ptr<RecoveryJournal> journal;
};

struct Found {
    Page OnPage;
    std::size_t Index;
    const FormField* Field;
};

// The first control of `kind` on any page whose field is of `field`.
inline Found FirstOf(ControlKind kind, FieldKind field) {
    for (std::size_t n = 0; n < PageCount; ++n) {
        const PageDescription& page = PageOf(static_cast<Page>(n));
        for (std::size_t i = 0; i < page.Controls.size(); ++i) {
            const ControlDescription& c = page.Controls[i];
            const FormField* row =
                c.FieldRow >= 0 ? &FormFields()[static_cast<std::size_t>(c.FieldRow)] : nullptr;
            if (c.Kind == kind &&
                (kind == ControlKind::TextEditor || (row != nullptr && row->Kind == field))) {
                return {static_cast<Page>(n), i, row};
            }
        }
    }
    ADD_FAILURE() << "no such control";
    return {Page::Lines, 0, nullptr};
}

// Types `text` as the keyboard would, a character at a time.
inline void Type(HWND control, const std::wstring& text) {
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    if (GetComboBoxInfo(control, &combo) != FALSE && combo.hwndItem != nullptr) {
        control = combo.hwndItem;
    }
    for (const wchar_t c : text) {
        SendMessageW(control, WM_CHAR, c, 1);
    }
}

} // namespace kelvaro::win32
