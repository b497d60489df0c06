#!/usr/bin/python3
"""The game's table as a screen reader reads it over AT-SPI: every place's name and
cards against the dealt table, the focus moved, cards lifted and dropped with keys,
and the events a reader speaks from. Run by run_atspi_test.sh inside its own session
bus and virtual X server; the game is the access_host program given as argument."""
import json
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

RANKS = ["ess", "två", "tre", "fyra", "fem", "sex", "sju", "åtta", "nio", "tio",
         "knekt", "dam", "kung"]
SUITS = ["hjärter", "klöver", "ruter", "spader"]
SUIT_TITLES = ["Hjärter", "Klöver", "Ruter", "Spader"]
LETTERS = "HAND"
failures = []


def card(code):
    return f"{SUITS[(code - 1) // 13]} {RANKS[(code - 1) % 13]}"


def expected_places(table):
    """The sixteen names a reader should hear, worked out from the dealt table."""
    names = []
    for s, code in enumerate(table["cells"]):
        names.append(f"Fri cell {LETTERS[s]}, " + (card(code) if code else "tom"))
    for p, top in enumerate(table["foundations"]):
        n = top - 13 * p
        names.append(f"Hög {SUIT_TITLES[p]}, " + (f"upp till {RANKS[n - 1]}" if n > 0 else "tom"))
    for c, codes in enumerate(table["columns"], start=1):
        names.append(f"Kolumn {c}, " +
                     (f"{len(codes)} kort, överst {card(codes[-1])}" if codes else "tom"))
    return names


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def pump(seconds):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(predicate, seconds=10):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump(0.1)
        try:
            if predicate():
                return True
        except Exception:  # the tree may be rebuilt under us
            pass
    return False


def find_table():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name != "Karvelo":
            continue
        found = pyatspi.findDescendant(app, lambda o: o.name == "Bordet" and
                                       o.getRole() == pyatspi.ROLE_LIST)
        if found:
            return found
    return None


def place_names(table):
    return [table.getChildAtIndex(i).name for i in range(table.childCount)]


def extents(o):
    e = o.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (e.x, e.y, e.width, e.height)


def inside(a, b):
    return a[0] >= b[0] and a[1] >= b[1] and a[0] + a[2] <= b[0] + b[2] and a[1] + a[3] <= b[1] + b[3]


def check_tree(table, model, when):
    names = place_names(table)
    want = expected_places(model)
    check(table.childCount == 16, f"{when}: Bordet has sixteen places")
    for got, expected in zip(names, want):
        check(got == expected, f"{when}: place {expected!r} (read {got!r})")
    whole = extents(table)
    for c, codes in enumerate(model["columns"], start=1):
        place = table.getChildAtIndex(7 + c)
        cards = [place.getChildAtIndex(i) for i in range(place.childCount)]
        check([x.name for x in cards] == [card(code) for code in codes],
              f"{when}: column {c} lists its {len(codes)} cards from the deepest")
        check(all(inside(extents(x), extents(place)) for x in cards) and
              inside(extents(place), whole) and extents(place)[2] > 0,
              f"{when}: column {c}'s cards lie within it, and it within the table")
        check(all(x.getRole() == pyatspi.ROLE_IMAGE for x in cards), f"{when}: column {c}'s cards are images")


class Events:
    def __init__(self):
        self.seen = []
        pyatspi.Registry.registerEventListener(
            self.on_event, "object:state-changed:focused", "object:state-changed:checked",
            "object:property-change:accessible-name",
            "object:property-change:accessible-description", "focus:")

    def on_event(self, event):
        # Qt sends the changed object rather than the new text: a reader reads the name
        # or description from the object, and so does this.
        try:
            name = event.source.name
            data = event.source.description if event.type.endswith("description") else name
        except Exception:
            name = data = "?"
        self.seen.append((event.type, name, event.detail1, data))

    def wait(self, type_prefix, predicate, what, seconds=10):
        def found():
            return any(t.startswith(type_prefix) and predicate(n, d, a) for t, n, d, a in self.seen)
        check(wait_for(found, seconds), what)

    def clear(self):
        pump(0.3)
        self.seen.clear()


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "120", *keys], check=True)


def main():
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    time.sleep(0.5)
    game = subprocess.Popen([sys.argv[1]], stdout=subprocess.PIPE, text=True)
    try:
        model = json.loads(game.stdout.readline())
        check(wait_for(lambda: find_table() is not None, 20), "the game shows the table 'Bordet' over AT-SPI")
        table = find_table()
        if table is None:
            return
        want = expected_places(model)
        check(wait_for(lambda: place_names(table) == want, 10), "every place named after the dealt table")
        check_tree(table, model, "dealt")
        print("\n".join("     " + n for n in place_names(table)), flush=True)

        events = Events()
        events.clear()
        key("Right")  # the first key shows the focus, on column 1
        events.wait("object:state-changed:focused", lambda n, d, a: d == 1 and n == want[8],
                    "the focus shown on column 1 raises a focus event with its name")
        key("Right", "Right")
        events.wait("object:state-changed:focused", lambda n, d, a: d == 1 and n == want[10],
                    "the focus moved to column 3 raises a focus event")
        key("Left", "Left")
        events.wait("object:state-changed:focused", lambda n, d, a: d == 1 and n == want[8],
                    "and back on column 1")

        events.clear()
        key("Return")  # lift the Hjärter nine
        events.wait("object:property-change:accessible-description",
                    lambda n, d, a: n == want[8] and a.startswith("Lyft: hjärter nio"),
                    "the lift is said on the focused column")
        events.wait("object:state-changed:checked", lambda n, d, a: d == 1 and n == want[8],
                    "the column with the lifted card becomes checked")

        key("Up")  # free cell H
        events.wait("object:state-changed:focused", lambda n, d, a: d == 1 and n == "Fri cell H, tom",
                    "the focus moves up to free cell H")
        events.clear()
        key("Return")  # drop there
        model["cells"][0] = model["columns"][0].pop()
        after = expected_places(model)
        events.wait("object:property-change:accessible-name",
                    lambda n, d, a: a == "Fri cell H, hjärter nio", "the free cell's new name is sent")
        events.wait("object:property-change:accessible-name",
                    lambda n, d, a: a == after[8], "the column's new name is sent")
        events.wait("object:property-change:accessible-description",
                    lambda n, d, a: a.startswith("hjärter nio till fri cell H"),
                    "the drop is said at the focused free cell")
        check(wait_for(lambda: place_names(table) == after, 5), "the tree follows the drop")
        check_tree(table, model, "after the drop")

        events.clear()
        key("Return", "Right", "Right", "Right", "Right")  # lifted again, to the Hjärter foundation
        events.wait("object:state-changed:focused", lambda n, d, a: d == 1 and n == "Hög Hjärter, tom",
                    "the focus moves right along the top row to the Hjärter foundation")
        events.clear()
        key("Return")  # a nine on an empty foundation: refused
        events.wait("object:property-change:accessible-description",
                    lambda n, d, a: a.startswith("Inget flyttat: hjärter nio ligger kvar i fri cell H"),
                    "a refused drop is said")
        check(place_names(table) == after, "a refused drop changes no name")

        print("events read:", flush=True)
        for t, n, d, a in events.seen[:16]:
            print(f"     {t} {n!r} {d} {a!r}", flush=True)
    finally:
        game.terminate()
        bus.terminate()
        try:
            game.wait(10)
        except subprocess.TimeoutExpired:
            game.kill()
    print(f"{len(failures)} failed" if failures else "all passed", flush=True)


if __name__ == "__main__":
    main()
    sys.exit(1 if failures else 0)
