#!/usr/bin/python3
# The game as a blind player meets it: read through the accessibility bus
# (AT-SPI) as a screen reader reads it, played with keys sent to the window
# and with the tiles' own actions. The player knows only what a screen reader
# would say: the caption, the names of the tiles and their states. No pixel
# is read.
#
#   access.py play            the tiles, the arrows, a pair by the tiles'
#                             actions, a pair with Tab and Space, then a whole
#                             game to an empty board
#   access.py orca LOGFILE    with the Orca screen reader running: it says the
#                             tiles as the focus moves, and the caption after a
#                             removal and after "Перемешать"
#
# DISPLAY, the session bus and the accessibility bus are set up by access.sh.
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

NAMES = (
    [f"Круг {r}" for r in range(1, 10)]
    + [f"Бамбук {r}" for r in range(1, 10)]
    + [f"Знак {r}" for r in range(1, 10)]
    + ["Ветер восток", "Ветер юг", "Ветер запад", "Ветер север"]
    + ["Дракон красный", "Дракон зелёный", "Дракон белый"]
    + ["Цветок слива", "Цветок орхидея", "Цветок хризантема", "Цветок бамбук"]
    + ["Сезон весна", "Сезон лето", "Сезон осень", "Сезон зима"]
)
CAPTION = re.compile(r"^Плитар (\d+) / (\d+) / (\d+)( Победа!| Перемешано| Не перемешивается)?$")


def fail(message):
    print(f"FAIL (access): {message}")
    sys.exit(1)


# ---------------------------------------------------------------- events

focused = []  # (name, index in the board) of every tile that took the focus


def on_event(event):
    if event.type.startswith("object:state-changed:focused") and event.detail1 == 1:
        try:
            if event.source.getRoleName() == "list item":
                focused.append((event.source.name, event.source.getIndexInParent()))
        except Exception:
            pass


def pump(seconds):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def moves_within(seconds, test):
    """Whether `test` comes true within the time, without failing."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump(0.05)
        try:
            if test():
                return True
        except Exception:
            pass
    return False


def wait_for(what, seconds, test):
    if not moves_within(seconds, test):
        fail(f"{what} (waited {seconds} s)")
    return True


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


# ---------------------------------------------------------------- what the reader sees


def find_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "plitar":
            return app
    return None


def find(root, test, depth=0):
    if test(root):
        return root
    if depth > 6:
        return None
    for child in root:
        if child is None:
            continue
        hit = find(child, test, depth + 1)
        if hit:
            return hit
    return None


def caption(frame):
    m = CAPTION.match(frame.name)
    if not m:
        fail(f"the caption '{frame.name}' is no status line")
    return int(m.group(1)), int(m.group(2)), int(m.group(3)), (m.group(4) or "").strip()


def tiles(board):
    """Every tile the reader lists: (index, name, free, selected)."""
    out = []
    for i in range(board.childCount):
        item = board.getChildAtIndex(i)
        states = item.getState()
        out.append((i, item.name, states.contains(pyatspi.STATE_SENSITIVE), states.contains(pyatspi.STATE_SELECTED)))
    return out


def match(a, b):
    return a == b or (a.startswith("Цветок ") and b.startswith("Цветок ")) or (
        a.startswith("Сезон ") and b.startswith("Сезон "))


def open_pair(board):
    free = [(i, name) for i, name, is_free, _ in tiles(board) if is_free]
    for j, (i, a) in enumerate(free):
        for k, b in free[j + 1:]:
            if match(a, b):
                return (i, a), (k, b)
    return None


def press(board, index):
    item = board.getChildAtIndex(index)
    action = item.queryAction()
    names = [action.getName(k) for k in range(action.nActions)]
    if "press" not in [n.lower() for n in names]:
        fail(f"tile {item.name} has no press action, only {names}")
    action.doAction([n.lower() for n in names].index("press"))


def check_tiles(frame, board):
    left = caption(frame)[1]
    listed = tiles(board)
    if len(listed) != left:
        fail(f"the board lists {len(listed)} tiles, the caption says {left} are left")
    for _, name, _, _ in listed:
        if name not in NAMES:
            fail(f"a tile is named '{name}'")
    return left


# ---------------------------------------------------------------- playing


def tab_to(board, index, limit):
    """Tab until the tile at `index` holds the focus; the player hears each name."""
    for _ in range(limit):
        if focused and focused[-1][1] == index:
            return
        before = len(focused)
        key("Tab")
        wait_for("Tab moved no focus", 10, lambda: len(focused) > before)
    fail(f"Tab never reached tile {index}")


def take_with_keys(frame, board, pair):
    left = caption(frame)[1]
    (i, a), (k, b) = pair
    tab_to(board, i, board.childCount + 1)
    key("space")
    wait_for(f"Space did not select {a}", 10, lambda: tiles(board)[i][3])
    # The first tile of the pair stays on the board until the second is taken.
    tab_to(board, k, board.childCount + 1)
    key("space")
    wait_for(f"Space did not take {a} and {b}", 10, lambda: caption(frame)[1] == left - 2)


def take_with_actions(frame, board, pair):
    left = caption(frame)[1]
    (i, a), (k, b) = pair
    press(board, i)
    wait_for(f"the action did not select {a}", 10, lambda: tiles(board)[i][3])
    press(board, k)
    wait_for(f"the actions did not take {a} and {b}", 10, lambda: caption(frame)[1] == left - 2)


def unstick(frame, board):
    """No open pair: the game shuffles by itself; when it could not, F1 ("Перемешать")."""
    for _ in range(20):
        if caption(frame)[3] == "Победа!" or open_pair(board):
            return
        if caption(frame)[3] == "Не перемешивается":
            key("F1")
        pump(0.3)
    fail(f"stuck at '{frame.name}'")


def wait_for_app():
    app = None
    end = time.monotonic() + 30
    while app is None and time.monotonic() < end:
        app = find_app()
        if app is None:
            time.sleep(0.2)
    if app is None:
        fail("the game is not on the accessibility bus")
    return app


def start(layout_name):
    app = wait_for_app()
    frame = find(app, lambda o: o.getRoleName() == "frame")
    board = find(frame, lambda o: o.getRoleName() == "list" and o.name == "Доска")
    if board is None:
        fail("no board among the window's objects")
    if layout_name:
        item = find(frame, lambda o: o.getRoleName() in ("menu item", "radio menu item", "check menu item")
                    and o.name == layout_name)
        if item is None:
            fail(f"no menu item '{layout_name}'")
        item.queryAction().doAction(0)
        wait_for(f"'{layout_name}' did not start", 10, lambda: caption(frame)[2] != 144)
    subprocess.run(["xdotool", "search", "--name", "^Плитар", "windowfocus", "--sync"], check=True)
    return frame, board


def play():
    # The reader starts listening once the game is on the bus, as a player
    # who turns the screen reader on after starting the game. A listener that
    # registers while the game's toolkit is still joining the bus may go
    # unheard: the toolkit reads the list of listeners before it subscribes to
    # news of new ones.
    wait_for_app()
    pyatspi.Registry.registerEventListener(on_event, "object:state-changed:focused")
    frame, board = start("Мяч")
    total = check_tiles(frame, board)
    print(f"the reader lists {total} tiles, named from the table: {frame.name}")

    # The arrows move the focus over the tiles. Where the focus starts depends
    # on the layout dealt before, and an arrow toward the board's edge rightly
    # leaves it where it is, so each axis must move one way or the other.
    moved, heard = set(), 0
    for arrow in ["Right", "Left", "Down", "Up", "Left", "Right", "Up", "Down"]:
        before = len(focused)
        key(arrow)
        if moves_within(3, lambda: len(focused) > before):
            moved.add(arrow)
            heard += 1
    for one, other in (("Right", "Left"), ("Down", "Up")):
        if one not in moved and other not in moved:
            fail(f"neither {one} nor {other} moved the focus")
    print("arrows: " + ", ".join(name for name, _ in focused[-heard:]))

    unstick(frame, board)
    take_with_actions(frame, board, open_pair(board))
    check_tiles(frame, board)
    print(f"a pair taken through the tiles' actions: {frame.name}")
    unstick(frame, board)
    take_with_keys(frame, board, open_pair(board))
    check_tiles(frame, board)
    print(f"a pair taken with Tab and Space: {frame.name}")

    # The rest of the game, with the keys alone.
    shuffles = 0
    while caption(frame)[3] != "Победа!":
        if caption(frame)[3] in ("Перемешано", "Не перемешивается"):
            shuffles += 1
        unstick(frame, board)
        if caption(frame)[3] == "Победа!":
            break
        take_with_keys(frame, board, open_pair(board))
        check_tiles(frame, board)
    if board.childCount != 0:
        fail(f"won with {board.childCount} tiles listed")
    print(f"won with the keys alone: {frame.name}, after {shuffles} shuffles or more")


def spoken(log, text):
    """How many times Orca has said something with `text` in it."""
    with open(log, encoding="utf-8", errors="replace") as f:
        return sum(1 for line in f if "SPEECH OUTPUT: '" in line and text in line)


def orca(log):
    pyatspi.Registry.registerEventListener(on_event, "object:state-changed:focused")
    frame, board = start(None)
    check_tiles(frame, board)
    # Orca is slow to follow: each key waits until it has spoken.
    for arrow in ["Right", "Down", "Right"]:
        before = len(focused)
        said = {name: spoken(log, name) for name in NAMES}
        key(arrow)
        wait_for(f"{arrow} moved no focus", 10, lambda: len(focused) > before)
        name = focused[-1][0]
        wait_for(f"Orca did not say '{name}' after {arrow}", 30, lambda: spoken(log, name) > said[name])
    print("Orca said the tiles: " + ", ".join(name for name, _ in focused[-3:]))
    unstick(frame, board)
    take_with_actions(frame, board, open_pair(board))
    after = frame.name
    wait_for(f"Orca did not say the caption '{after}' after a removal", 30, lambda: spoken(log, after) > 0)
    print(f"Orca said the caption after a removal: {after}")
    key("F1")
    wait_for("F1 did not shuffle", 10, lambda: caption(frame)[3] == "Перемешано")
    after = frame.name
    wait_for(f"Orca did not say the caption '{after}' after F1", 30, lambda: spoken(log, after) > 0)
    print(f"Orca said the caption after \"Перемешать\": {after}")


if __name__ == "__main__":
    if sys.argv[1] == "play":
        play()
    else:
        orca(sys.argv[2])
    print("PASS (access)")
