#pragma once

// One page of the window as Win32 controls, made from the core's description
// of the page: one control per ControlDescription, laid out from its grid place
// in dialog units, its labels just before it in the Z order (so mnemonics and
// screen readers find the control a label names), the rest in the page's tab
// order. Each control's id leads back to its entry, and its entry's name, in
// ControlName.
//
// A page is a child window of the main window standing over the tab strip's
// display area; it passes its controls' notices to the field binding and the
// commands, and refreshes them on the changes the description names.

#include "session/session.h"
#include "win32/window_metrics.h"
#include "window/controller.h"
#include "window/pages.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro::win32 {

// The id of control `index` of `page`, and back: ids are unique in the whole
// window and below the menus' command ids.
int ControlId(Page page, std::size_t index);
// The description's name of the control with `id`; empty for an id of none.
std::string_view ControlName(int id);

// The text a multi-line box shows for the core's CR LF text, and back.
std::wstring BoxText(std::string_view crlfText);
std::string CoreText(std::wstring_view boxText);

class PageView {
public:
    PageView(HWND owner, Page page, WindowController& controller);
    ~PageView();
    PageView(const PageView&) = delete;
    PageView& operator=(const PageView&) = delete;

    HWND Panel() const { return panel_; }
    const PageDescription& Description() const { return page_; }
    std::size_t ControlCount() const { return controls_.size(); }
    HWND ControlAt(std::size_t index) const { return controls_[index]; }
    // Whether control `index` draws its text in the colour the user picked.
    bool FollowsPickedColour(std::size_t index) const;
    // The control named `name`, or null.
    HWND Find(std::string_view name) const;

    // What the boxes show now (a new form's defaults) is what they are made
    // wide enough for.
    void NoteStartTexts();
    void SetFonts(const WindowMetrics& metrics);
    // The smallest area in pixels in which nothing of the page is cut.
    SIZE Needed(const DialogUnits& units) const;
    // The same for a page not made yet, from what its controls would show.
    static SIZE NeededBeforeMade(Page page, const Session& s, const WindowMetrics& metrics);
    // A box's first text longer than this (the preview's) says nothing of its width.
    static constexpr std::size_t LongestFirstText = 40;
    // Lays the page out over `area`, in the owner's client coordinates.
    void Place(const RECT& area, const DialogUnits& units);

    // Shows anew what `what` changed, in every control the description says
    // it refreshes.
    void Refresh(Change what);
    // Hands the session what the long-text editor holds and it has not taken.
    void TakeTyping();

private:
    static LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
    void Make(HWND owner);
    std::wstring SpokenOf(const ControlDescription& c) const;
    void OnCommand(std::size_t index, int code);
    LRESULT OnNotify(std::size_t index, NMHDR& notice);
    void Show(std::size_t index);
    void Store(std::size_t index);
    void ShowEditor();
    void ShowOrder(HWND list);
    void ShowBold();
    // The mouse let go over `inPanel` at the end of a drag in the order list.
    void EndDrag(POINT inPanel);
    // Which option of its group control `index` is (0 for the first).
    int PlaceInGroup(std::size_t index) const;
    // Tells screen readers the names that follow what the user typed.
    void ShowSpokenNames();
    std::vector<int> Widths(const DialogUnits& units) const;
    void MeasureTexts();
    int MinWidth(std::size_t index, const DialogUnits& units) const;

    Page which_;
    const PageDescription& page_;
    WindowController& controller_;
    Session& s_;
    HWND panel_ = nullptr;
    std::vector<HWND> controls_;
    std::vector<std::wstring> startTexts_;
    // Each control's text in pixels, in the font it is drawn with.
    std::vector<int> textWidths_;
    HFONT uiFont_ = nullptr;
    OwnedFont boldFont_;
    // True while the page writes the session's state into its controls, so
    // their change notices do not come back as the user's typing.
    bool showing_ = false;
    bool editorHeld_ = false;
    bool loadingTemplate_ = false;
    // The entry being dragged in the order list, or -1.
    int dragFrom_ = -1;
    HWND dragList_ = nullptr;
};

} // namespace kelvaro::win32
