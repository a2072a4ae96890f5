#!/usr/bin/python3
"""The window as a screen-reader user meets it, over the accessibility bus.

accessibility_bus.py PROGRAM OUT_FOLDER (run by accessibility_bus.sh, on a bus
and a display of its own). Starts the program, visits every page of the window
and fails naming every focusable control without an accessible name. Then does
the main job through the bus alone: fills 作者名 and ソフト名, types a long text
for 特徴, ticks 特徴 in the item order, and writes the text ReadMe through the
file menu and the file dialog; the written file has to hold the values in
Shift_JIS (code page 932) with CR LF line ends. On the way, the keyboard's
Ctrl+Z and Ctrl+Y undo and redo a template loaded into the long-text editor.
"""

import os
import subprocess
import sys
import threading
import time

import pyatspi

SAVE_CAPTIONS = ("保存", "Save")
OPEN_CAPTIONS = ("開く", "Open")


class Failed(Exception):
    pass


def until(what, probe, timeout=30.0):
    """What probe() returns once it is true; fails after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            found = probe()
        except Exception:  # an object gone between two calls is asked again
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failed(f"timed out waiting for {what}")
        time.sleep(0.05)


def has(acc, state):
    return acc.getState().contains(state)


def children(acc):
    return [acc.getChildAtIndex(i) for i in range(acc.childCount)]


def walk(acc, path=()):
    """Every object shown under acc, with its path of child indices."""
    yield acc, path
    for i, child in enumerate(children(acc)):
        if child is not None and has(child, pyatspi.STATE_SHOWING):
            yield from walk(child, path + (i,))


def find(acc, test, what, timeout=30.0):
    return until(what, lambda: next((a for a, _ in walk(acc) if test(a)), None), timeout)


def role(acc):
    return acc.getRole()


def press(acc, *names):
    """Runs the object's first action of those names (Qt: Press, Toggle...)."""
    action = acc.queryAction()
    available = [action.getName(i) for i in range(action.nActions)]
    for i, name in enumerate(available):
        if not names or name in names:
            action.doAction(i)
            return
    raise Failed(f"{acc.name!r} offers no action {names}, only {available}")


def press_quietly(acc, *names):
    """press() for an action that only answers once its dialog is closed."""
    try:
        press(acc, *names)
    except Exception:  # the answer's time-out; what happened is checked by the file
        pass


def text_of(acc):
    text = acc.queryText()
    return text.getText(0, text.characterCount)


def set_text(acc, value):
    acc.queryEditableText().setTextContents(value)
    until(f"{acc.name!r} to hold the new text", lambda: text_of(acc) == value)


def describe(acc, path, page, label):
    inside = acc.parent
    where = f" in {inside.getRoleName()} {inside.name!r}" if inside is not None and inside.name else ""
    return f"page {page}: {acc.getRoleName()} {list(path)}{where}, after the label {label!r}"


def shown_page(window):
    """The page the tab strip shows: the layered pane's one child shown."""
    pane = next(a for a, _ in walk(window) if role(a) == pyatspi.ROLE_LAYERED_PANE)
    return next(c for c in children(pane) if has(c, pyatspi.STATE_SHOWING))


def show_page(window, tabs, tab):
    press(tab, "Press")
    # The tab strip is named for the page it shows; the page's controls are
    # made when it is first shown.
    until(f"page {tab.name} shown", lambda: tabs.name == tab.name and shown_page(window).childCount > 0)


def nameless_controls(window, tabs):
    """Visits every page; every focusable control shown without a name."""
    found = {}
    for tab in children(tabs):
        if not has(tab, pyatspi.STATE_SHOWING):
            continue  # the strip's scroll arrows
        show_page(window, tabs, tab)
        label = ""
        for acc, path in walk(window):
            if role(acc) == pyatspi.ROLE_LABEL:
                label = acc.name
            elif has(acc, pyatspi.STATE_FOCUSABLE) and not (acc.name or "").strip():
                found.setdefault(path, describe(acc, path, tab.name, label))
    return list(found.values())


def file_dialog(app, path, accept):
    """Types `path` into the file dialog's name box and presses its button."""
    dialog = until("a file dialog", lambda: next(
        (w for w in children(app) if role(w) == pyatspi.ROLE_DIALOG and has(w, pyatspi.STATE_SHOWING)), None))
    box = find(dialog, lambda a: role(a) == pyatspi.ROLE_TEXT and has(a, pyatspi.STATE_EDITABLE)
               and a.name.startswith(("ファイル名", "File name")), "the file dialog's name box")
    set_text(box, path)
    # The button is offered once there is a name.
    button = find(dialog, lambda a: role(a) == pyatspi.ROLE_PUSH_BUTTON and a.name.startswith(accept)
                  and has(a, pyatspi.STATE_ENABLED), f"the file dialog's {accept[0]} button")
    press(button, "Press")
    until("the file dialog to close", lambda: not has(dialog, pyatspi.STATE_SHOWING)
          or dialog not in children(app), 10)


def menu_entry(window, *captions):
    """The entry reached from the menu bar through the menus named `captions`
    (an entry's submenu is its one child). Menus not open are on the bus as
    well, not shown, so they are found by name."""
    acc = find(window, lambda a: role(a) == pyatspi.ROLE_MENU_BAR, "the menu bar")
    for caption in captions:
        def entry(acc=acc, caption=caption):
            near = children(acc)
            near += [grandchild for c in near for grandchild in children(c)]
            return next((c for c in near if c.name.startswith(caption)), None)
        acc = until(f"menu entry {caption}", entry)
    return acc


def keys(window_id, *combos):
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True, timeout=10)
    for combo in combos:
        subprocess.run(["xdotool", "key", combo], check=True, timeout=10)


def main():
    program, out = sys.argv[1], sys.argv[2]
    failures = []
    # The accessibility bus and its registry are started before the program, so
    # that the program finds them when it looks at start.
    desktop = pyatspi.Registry.getDesktop(0)
    children(desktop)
    child = subprocess.Popen([program])
    try:
        app = until("the program on the accessibility bus", lambda: next(
            (a for a in children(desktop) if a is not None and a.get_process_id() == child.pid), None), 20)
        window = until("its window", lambda: next(
            (w for w in children(app) if w.name.startswith("Kelvaro Ver")), None))
        tabs = find(window, lambda a: role(a) == pyatspi.ROLE_PAGE_TAB_LIST, "the tab strip")
        pages = {tab.name: tab for tab in children(tabs) if role(tab) == pyatspi.ROLE_PAGE_TAB}

        nameless = nameless_controls(window, tabs)
        print(f"focusable controls without a name: {len(nameless)}")
        for line in nameless:
            print("  " + line)
        if nameless:
            failures.append(f"{len(nameless)} focusable controls have no accessible name")

        # 作者名 and ソフト名.
        show_page(window, tabs, pages["１行項目"])
        values = {"作者名": "佐藤花子", "ソフト名": "ケルヴァロ計算機"}
        for name, value in values.items():
            box = find(window, lambda a: a.name == name and has(a, pyatspi.STATE_EDITABLE), f"the box {name}")
            set_text(box, value)

        # A long text for 特徴; the editor is named for the item it edits.
        show_page(window, tabs, pages["長文項目"])
        option = find(window, lambda a: role(a) == pyatspi.ROLE_RADIO_BUTTON and a.name == "特徴", "the option 特徴")
        press(option, "Press", "Toggle")
        editor = find(window, lambda a: role(a) == pyatspi.ROLE_TEXT and has(a, pyatspi.STATE_EDITABLE)
                      and a.name == "特徴", "the long-text editor, named for the item it edits")
        long_text = "\n".join(f"特徴その{n}: 計算を速く正確に行い、結果を表にまとめます。" for n in range(1, 121))
        set_text(editor, long_text)

        # A template loaded over it is one step Ctrl+Z takes back and Ctrl+Y
        # puts back, with the keyboard of the desktop (xcb), not Qt's offscreen keys.
        load = find(window, lambda a: role(a) == pyatspi.ROLE_PUSH_BUTTON and a.name == "テンプレートを読み込む",
                    "the button テンプレートを読み込む")
        press(load, "Press")
        template = os.path.join(os.path.dirname(program), "Templates", "免責.txt")
        file_dialog(app, template, OPEN_CAPTIONS)
        with open(template, "rb") as f:
            loaded = f.read().decode("cp932").replace("\r\n", "\n").rstrip("\n")
        until("the template in the editor", lambda: text_of(editor).rstrip("\n") == loaded)
        # No window manager here: the window is given the keyboard by hand.
        window_id = subprocess.run(["xdotool", "search", "--pid", str(child.pid), "--name", "Kelvaro Ver"],
                                   capture_output=True, text=True, timeout=10).stdout.split()[0]
        keys(window_id)
        editor.queryComponent().grabFocus()
        until("the editor to take the keyboard", lambda: has(editor, pyatspi.STATE_FOCUSED))
        for combo, expected, what in (("ctrl+z", long_text, "Ctrl+Z to bring back the typed text"),
                                      ("ctrl+y", loaded, "Ctrl+Y to redo the template load"),
                                      ("ctrl+z", long_text, "Ctrl+Z once more")):
            keys(window_id, combo)
            try:
                until(what, lambda: text_of(editor).rstrip("\n") == expected, 5)
            except Failed as failure:
                failures.append(str(failure))
                set_text(editor, long_text)
                break

        # 特徴 ticked in the item order; the entry says that it is checked.
        show_page(window, tabs, pages["項目順序"])
        order = find(window, lambda a: role(a) == pyatspi.ROLE_LIST and a.name == "項目順序の並び替え",
                     "the item order list")
        entry = until("the entry 特徴", lambda: next((c for c in children(order) if c.name == "特徴"), None))
        if not (has(entry, pyatspi.STATE_CHECKABLE) or role(entry) == pyatspi.ROLE_CHECK_BOX):
            failures.append("the item order's entries do not say that they can be checked")
        if has(entry, pyatspi.STATE_CHECKED):
            failures.append("特徴 is checked before it was ticked")
        press(entry, "Toggle", "Check", "Press")
        until("特徴 to be checked", lambda: has(entry, pyatspi.STATE_CHECKED))

        # The text ReadMe through the file menu and its dialog.
        written = os.path.join(out, "ReadMe.txt")
        # A menu entry runs its command before the bus call returns, and the
        # command waits in its dialog: the call is made beside the script.
        entry = menu_entry(window, "ファイル", "ReadMe出力", "Textファイルで出力")
        threading.Thread(target=press_quietly, args=(entry, "Press"), daemon=True).start()
        file_dialog(app, written, SAVE_CAPTIONS)
        data = until("the ReadMe file", lambda: os.path.isfile(written) and open(written, "rb").read())
        text = data.decode("cp932")
        if text.replace("\r\n", "").count("\n") or text.replace("\r\n", "").count("\r"):
            failures.append("the ReadMe has line ends other than CR LF")
        for value in list(values.values()) + [long_text.replace("\n", "\r\n")]:
            if value not in text:
                failures.append(f"the ReadMe lacks {value[:30]!r}")
        print(f"ReadMe written: {len(data)} bytes")
    except Failed as failure:
        failures.append(str(failure))
    finally:
        child.kill()
        child.wait()

    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
