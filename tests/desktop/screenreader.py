#!/usr/bin/python3
"""Uses the running program the way a screen reader user does: reads its
AT-SPI tree and the events it sends, presses keys with xdotool, and checks that
what changes on screen is also heard.

Run by e2e_accessibility.sh inside a throw-away session (X display, session
bus, accessibility bus) with the program already started. Every check prints
its result; the script ends with status 1 when any check failed, so one run
shows every fault at once.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

failures = []
events = []  # (time, type, role, name, detail1, any_data) of every event heard


def check(ok, what, detail=""):
    print(("ok   " if ok else "FAIL ") + what + ("" if ok or not detail else f": {detail}"))
    if not ok:
        failures.append(what)
    return ok


# --- Events, as a screen reader hears them ---------------------------------

def on_event(event):
    try:
        source = event.source
        role = source.getRoleName() if source else ""
        name = source.name if source else ""
    except Exception:  # the object may be gone already
        role, name = "", ""
    data = event.any_data
    if isinstance(data, Atspi.Accessible):
        data = data.name
    events.append((time.monotonic(), event.type, role, name or "", event.detail1,
                   "" if data is None else str(data)))


for kind in ("focus:", "object:state-changed", "object:text-changed",
             "object:property-change:accessible-name",
             "object:property-change:accessible-description", "object:announcement"):
    pyatspi.Registry.registerEventListener(on_event, kind)

_context = GLib.MainContext.default()


def pump(seconds):
    """Lets events arrive for the given time."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while _context.pending():
            _context.iteration(False)
        time.sleep(0.02)


def heard_since(mark, match):
    return [e for e in events if e[0] >= mark and match(e)]


# --- The tree, read afresh each time ---------------------------------------

def states(acc):
    acc.clear_cache()
    return acc.getState()


def showing(acc):
    return states(acc).contains(pyatspi.STATE_SHOWING)


def walk(acc):
    yield acc
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and "wordlumen" in (app.name or "").lower():
            app.set_cache_mask(Atspi.Cache.NONE)
            return app
    return None


def wait_for(find, what, timeout=10.0):
    """Calls find() until it returns something; fails the check on time out."""
    end = time.monotonic() + timeout
    while True:
        try:
            found = find()
        except Exception:  # objects come and go while the card turns
            found = None
        if found:
            return found
        if time.monotonic() > end:
            check(False, what, "not found in time")
            return None
        pump(0.1)


def find_all(root, role=None, name=None, visible=True, where=None):
    found = []
    for acc in walk(root):
        if role is not None and acc.getRole() != role:
            continue
        if name is not None and acc.name != name:
            continue
        if where is not None and not where(acc):
            continue
        if visible and not showing(acc):
            continue
        found.append(acc)
    return found


def find(root, **criteria):
    found = find_all(root, **criteria)
    return found[0] if found else None


def window(app, name):
    return find(app, role=pyatspi.ROLE_FRAME, name=name, visible=False)


def focused(app):
    return [acc for acc in walk(app) if states(acc).contains(pyatspi.STATE_FOCUSED)]


def text_of(acc):
    try:
        text = acc.queryText()
        return text.getText(0, -1)
    except NotImplementedError:
        return None


def describe(acc):
    return f"[{acc.getRoleName()}] {acc.name!r} text={text_of(acc)!r}"


def press(acc):
    """Activates an object the way a reader's "activate" command does."""
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("Press", "Toggle"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    raise AssertionError(f"{acc.name!r} cannot be activated: {names}")


def point_at(acc):
    """Puts the pointer on an object: with no window manager, the keyboard
    follows the pointer to its window."""
    x, y, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2)], check=True)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True)
    pump(0.3)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "60", text], check=True)
    pump(0.4)


# --- Checks shared by every control ----------------------------------------

def check_focus_showing(app, what):
    """The keyboard is on one object, and that object is on screen."""
    now = focused(app)
    return check(len(now) > 0 and all(showing(acc) for acc in now), what,
                 ", ".join(f"{describe(a)} showing={showing(a)}" for a in now) or "nothing focused")


def check_editable(acc, label, typed):
    """Typing into a field is reported character by character."""
    ifaces = acc.get_interfaces()
    check("EditableText" in ifaces, f"{label}: exposes EditableText", ", ".join(ifaces))
    mark = time.monotonic()
    point_at(acc)
    acc.queryComponent().grabFocus()
    pump(0.3)
    type_text(typed)
    inserted = "".join(e[5] for e in heard_since(
        mark, lambda e: e[1].startswith("object:text-changed:insert") and e[3] == acc.name))
    check(len(inserted) >= len(typed), f"{label}: typed characters fire text-inserted events",
          repr(inserted))
    return inserted


def check_secret_field(acc, label, secret):
    """A password field is named, and neither its text nor its events tell the key."""
    check(acc.name == "API Key", f"{label}: named 「API Key」", repr(acc.name))
    check(acc.getRole() == pyatspi.ROLE_PASSWORD_TEXT, f"{label}: a password field",
          acc.getRoleName())
    mark = time.monotonic()
    inserted = check_editable(acc, label, secret)
    content = text_of(acc) or ""
    leaked = [e for e in heard_since(mark, lambda e: True) if secret[:4] in e[5] or secret[:4] in e[3]]
    check(secret[:4] not in content and secret[-4:] not in content and len(content) > 0,
          f"{label}: the Text interface gives bullets, never the key", repr(content))
    check(not leaked and secret[:4] not in inserted, f"{label}: no event carries the key",
          repr(leaked[:3]))


def check_choice_moves(app, group, label, key="Right"):
    """Arrow keys move the keyboard and the choice together, and both are reported."""
    options = [acc for acc in walk(group) if acc is not group
               and acc.getRole() in (pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_PAGE_TAB)]
    chosen = [o for o in options if states(o).contains(pyatspi.STATE_CHECKED)
              or states(o).contains(pyatspi.STATE_SELECTED)]
    before = chosen[0].name if chosen else None
    start = chosen[0] if chosen and states(chosen[0]).contains(pyatspi.STATE_FOCUSABLE) else group
    # The page scrolls to the focused control, so the pointer (and with it
    # the keyboard) can go there afterwards.
    start.queryComponent().grabFocus()
    pump(0.4)
    point_at(start)
    mark = time.monotonic()
    keys(key)
    pump(0.3)
    now = [acc for acc in focused(app) if acc in options]
    target = now[0] if now else None
    check(target is not None and target.name != before
          and (states(target).contains(pyatspi.STATE_CHECKED)
               or states(target).contains(pyatspi.STATE_SELECTED)),
          f"{label}: {key} moves the focus to the next option, which is chosen",
          f"before {before!r}, focused now " + ", ".join(describe(a) for a in focused(app)))
    reported = heard_since(mark, lambda e: (e[1].startswith("object:state-changed:checked")
                                            or e[1].startswith("object:state-changed:selected")
                                            or e[1].startswith("focus:"))
                           and e[3] != before and e[3] in [o.name for o in options])
    check(bool(reported), f"{label}: the change is reported",
          repr(heard_since(mark, lambda e: True)[:6]))


def check_labels_read(root, label):
    """Labels read their name through the Text interface and do not claim the keyboard."""
    # The answer is a label the keyboard goes to: named by its title, it
    # reads the explanation; it is the one label with a description.
    labels = [a for a in find_all(root, role=pyatspi.ROLE_LABEL) if not a.description]
    wrong = [describe(a) for a in labels if (text_of(a) or "") != a.name
             or (states(a).contains(pyatspi.STATE_FOCUSABLE)
                 and not states(a).contains(pyatspi.STATE_FOCUSED))]
    check(labels and not wrong, f"{label}: labels read their text and are not focusable",
          "; ".join(wrong[:4]))


def check_confirmed(button, label, attribute, expected):
    """Pressing a button that confirms with a mark also says so on the button,
    which a reader speaks because the keyboard stays on it."""
    mark = time.monotonic()
    press(button)
    said = wait_for(lambda: expected(getattr(button, attribute)), f"{label}: confirmed on the button")
    if said:
        check(True, f"{label}: confirmed on the button", repr(getattr(button, attribute)))
        heard = heard_since(mark, lambda e: e[1].startswith(
            "object:property-change:accessible-" + attribute))
        check(bool(heard), f"{label}: the change of the button's {attribute} is reported")


def check_toggle(button, label):
    """A toggle button reports its new state."""
    was = states(button).contains(pyatspi.STATE_CHECKED)
    mark = time.monotonic()
    press(button)
    pump(0.5)
    check(states(button).contains(pyatspi.STATE_CHECKED) != was, f"{label}: the state toggles")
    check(bool(heard_since(mark, lambda e: e[1].startswith("object:state-changed:checked"))),
          f"{label}: the change is reported")


def check_list_rows_take_focus(app, lst, label, key="Down"):
    """The keyboard in a list sits on its current row, so each row the arrows
    reach is spoken."""
    lst.queryComponent().grabFocus()
    pump(0.4)
    rows = [a for a in focused(app) if a.getRole() == pyatspi.ROLE_LIST_ITEM]
    check(bool(rows), f"{label}: the current row has the keyboard",
          ", ".join(describe(a) for a in focused(app)))
    if lst.childCount > 1 and rows:
        point_at(rows[0])
        mark = time.monotonic()
        keys(key)
        heard = heard_since(mark, lambda e: e[1].startswith("object:state-changed:focused")
                            and e[4] == 1 and e[2] == "list item" and e[3] != rows[0].name)
        check(bool(heard), f"{label}: {key} moves the keyboard to the next row")


def check_tab_list(tabs, label):
    """Page tabs sit in a tab list, so a reader can say 「1 of 3」."""
    parent = tabs[0].parent if tabs else None
    check(parent is not None and parent.getRole() == pyatspi.ROLE_PAGE_TAB_LIST
          and all(t.parent == parent for t in tabs), f"{label}: the tabs sit in one tab list",
          parent.getRoleName() if parent else "no tabs")


# --- The card ----------------------------------------------------------------

def card(app):
    print("1. The card opens through the trigger's action; the input takes the keyboard")
    check(window(app, "Wordlumen 浮动卡") is not None, "the card's window is named 「Wordlumen 浮动卡」",
          ", ".join(w.name for w in find_all(app, role=pyatspi.ROLE_FRAME, visible=False)))
    trigger = wait_for(lambda: find(app, role=pyatspi.ROLE_PUSH_BUTTON), "the trigger")
    press(trigger)
    field = wait_for(lambda: find(app, role=pyatspi.ROLE_ENTRY)
                     or find(app, role=pyatspi.ROLE_TEXT, where=lambda a: states(a).contains(
                         pyatspi.STATE_EDITABLE)), "the lookup input")
    pump(0.5)
    check(field.name != "输入黑话，或描述你想找的词…", "the input is named by what it is, not its placeholder",
          repr(field.name))

    print("2. Typing is reported; Return shows the answer, and it is heard")
    check_editable(field, "the lookup input", "RAG")
    mark = time.monotonic()
    keys("Return")
    title = "检索增强生成"

    def answer_heard():
        now = [a for a in focused(app) if showing(a) and title in (a.name or "")]
        if now:
            return now[0]
        spoken = heard_since(mark, lambda e: title in e[3] and (
            (e[1].startswith("object:state-changed:focused") and e[4] == 1)
            or e[1].startswith("object:announcement")
            or e[2] in ("alert", "notification", "status bar")))
        return spoken[0] if spoken else None
    heard = wait_for(answer_heard, "the answer takes the focus or is announced")
    if isinstance(heard, Atspi.Accessible):
        check(True, "the answer takes the focus or is announced", describe(heard))
        check("资料" in (text_of(heard) or ""), "the explanation reads through the Text interface",
              describe(heard))
    check_labels_read(window(app, "Wordlumen 浮动卡") or app, "the answer face")
    star = find(app, role=pyatspi.ROLE_PUSH_BUTTON, where=lambda a: a.name in ("收藏", "取消收藏"))
    if check(star is not None, "the answer face has a star"):
        check_toggle(star, "the answer's star")
    copy = find(app, role=pyatspi.ROLE_PUSH_BUTTON, name="复制解释")
    if check(copy is not None, "the answer face has a copy button"):
        check_confirmed(copy, "copying", "name", lambda name: name == "已复制")
    return field


def passage_view(app):
    print("2b. A query with several terms: its row's chips, and the passage view is heard")
    again = wait_for(lambda: find(app, role=pyatspi.ROLE_PUSH_BUTTON, name="换一个词"), "the 换一个词 button")
    if again is None:
        return
    press(again)
    field = wait_for(lambda: find(app, where=lambda a: "EditableText" in a.get_interfaces()
                                  and a.name == "要解释的词"), "the lookup input again")
    if field is None:
        return
    keys("ctrl+a", "BackSpace")
    type_text("RAG Agent LLM")
    keys("Return")
    whole = wait_for(lambda: find(app, role=pyatspi.ROLE_PUSH_BUTTON,
                                  where=lambda a: (a.name or "").endswith("查看这段话里的全部黑话")),
                     "the row offers the whole passage")
    if whole is None:
        return
    chips = find_all(app, role=pyatspi.ROLE_PUSH_BUTTON, where=lambda a: " · " in (a.name or ""))
    check(len(chips) > 0, "the row's chips are read as term · explanation",
          ", ".join(repr(c.name) for c in chips))
    press(whole)
    heading = wait_for(lambda: next((a for a in focused(app) if showing(a)
                                     and a.name == "这段话里的黑话"), None),
                       "the passage view's heading takes the keyboard")
    if heading is not None:
        check("认出" in (heading.description or ""), "the heading says what was found",
              repr(heading.description))
    keys("Escape")
    wait_for(lambda: find(app, role=pyatspi.ROLE_PUSH_BUTTON, name="复制解释"),
             "Escape goes back to the answer")


def settings_face(app):
    print("3. The settings face focuses a field that shows, and the key never leaks")
    back = wait_for(lambda: find(app, role=pyatspi.ROLE_PUSH_BUTTON, name="翻回去"), "the 翻回去 button")
    if back is None:
        return
    press(back)
    gear = wait_for(lambda: find(app, role=pyatspi.ROLE_PUSH_BUTTON, name="API 设置"),
                    "the API 设置 button")
    chips = find_all(app, role=pyatspi.ROLE_PUSH_BUTTON, where=lambda a: a.name.startswith("RAG"))
    check(chips and chips[0].name == "RAG · 检索增强", "a chip reads its term and meaning apart",
          repr([c.name for c in chips]))
    press(gear)
    pump(1.0)
    check_focus_showing(app, "opening the settings face focuses a field that shows")
    pump(0.6)
    check_focus_showing(app, "the focus stays on a field that shows")
    key = wait_for(lambda: find(app, role=pyatspi.ROLE_PASSWORD_TEXT), "the key field")
    if key is not None:
        check_secret_field(key, "the settings face's key field", "sk-secret-4242")
    save = find(app, role=pyatspi.ROLE_PUSH_BUTTON, name="保存设置")
    if check(save is not None, "the settings face has a save button"):
        check_confirmed(save, "saving the settings", "description", lambda text: len(text) > 0)


# --- The control center ------------------------------------------------------

def sidebar_tabs(app):
    return find_all(app, role=pyatspi.ROLE_PAGE_TAB, where=lambda a: "，" in (a.name or ""))


def open_page(app, title):
    """Chooses a page in the sidebar; the chosen row is reported selected."""
    row = wait_for(lambda: [t for t in sidebar_tabs(app) if t.name.startswith(title)], f"the {title} page")
    if not row:
        return None
    mark = time.monotonic()
    press(row[0])
    pump(0.6)
    check(states(row[0]).contains(pyatspi.STATE_SELECTED), f"the sidebar's {title} row is selected")
    check(bool(heard_since(mark, lambda e: e[3] == row[0].name and (
        e[1].startswith("object:state-changed:selected") or "accessible-description" in e[1]))),
        f"the sidebar's {title} row: the change is reported",
        repr(heard_since(mark, lambda e: True)[:6]))
    return row[0]


def control_center(app, card_input):
    print("4. The control center: named window, sidebar and choices that report their changes")
    point_at(card_input.parent if card_input else app)
    keys("ctrl+comma")
    cc = wait_for(lambda: window(app, "Wordlumen 设置"), "the control center's window is named 「Wordlumen 设置」")
    if cc is None:
        cc = wait_for(lambda: [w for w in find_all(app, role=pyatspi.ROLE_FRAME) if w.name != "Wordlumen 浮动卡"
                               and find(w, role=pyatspi.ROLE_PAGE_TAB)], "the control center")
        cc = cc[0] if cc else None
    if cc is None:
        return
    point_at(cc)
    check_labels_read(cc, "the control center")
    tabs = sidebar_tabs(cc)
    check_tab_list(tabs, "the sidebar")
    open_page(cc, "API")
    key = wait_for(lambda: find(cc, role=pyatspi.ROLE_PASSWORD_TEXT)
                   or find(cc, role=pyatspi.ROLE_TEXT, name="API Key"), "the API page's key field")
    if key is not None:
        check_secret_field(key, "the API page's key field", "sk-other-9191")
    for label in ("解释视角", "回答长度"):
        group = find(cc, name=label, visible=False, where=lambda a: a.childCount > 0)
        if check(group is not None, f"{label}: a named group of options"):
            check_choice_moves(app, group, label)
    history_page(app, cc)


def history_page(app, cc):
    print("5. The history page: the lookups are rows a reader reaches with the keyboard")
    open_page(cc, "历史与收藏")
    search = wait_for(lambda: find(cc, name="搜索查询记录"), "the history's search field")
    if search is not None:
        check("EditableText" in search.get_interfaces(), "the history's search field is editable")
    lst = wait_for(lambda: find(cc, role=pyatspi.ROLE_LIST, name="查询记录"), "the history's list")
    if lst is not None:
        wait_for(lambda: lst.childCount > 0, "the card's lookup is in the history")
        check_list_rows_take_focus(app, lst, "the history's list")


def main():
    app = wait_for(application, "the program on the accessibility bus", timeout=20)
    if app is None:
        return 1
    card_input = None
    for step in (lambda: card(app), lambda: passage_view(app), lambda: settings_face(app), lambda: control_center(app, card_input)):
        try:
            result = step()
            card_input = card_input or result
        except Exception as error:  # a broken step must not hide the ones after it
            check(False, "the step ran to its end", repr(error))
    print("PASS" if not failures else f"{len(failures)} check(s) failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
