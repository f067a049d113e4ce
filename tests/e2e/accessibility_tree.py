#!/usr/bin/python3
# The program's accessibility tree over AT-SPI, as a screen reader reads it:
# "unnamed" (shown controls without a name), "has NAME" (yes or no), "table"
# (the grid's name, rows, columns; the focused cell's row|column|text|description).
import sys

import pyatspi

CONTROLS = {getattr(pyatspi, "ROLE_" + r) for r in (
    "PUSH_BUTTON TOGGLE_BUTTON CHECK_BOX RADIO_BUTTON TEXT ENTRY SCROLL_BAR SLIDER "
    "SPIN_BUTTON COMBO_BOX LIST LIST_BOX TABLE TREE PAGE_TAB_LIST FILLER CANVAS").split()}


def walk(node):  # a table's cells are its text, not controls
    yield node
    if node.getRole() != pyatspi.ROLE_TABLE:
        for child in filter(None, node):
            yield from walk(child)


app = next(a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "ぽん採点")
nodes = [n for n in walk(app) if n.getState().contains(pyatspi.STATE_SHOWING)]
if sys.argv[1] == "unnamed":
    for n in nodes:
        if n.getRole() in CONTROLS and not n.name.strip():
            print(n.getRoleName(), "in", n.parent.name or n.parent.getRoleName())
elif sys.argv[1] == "has":
    print("yes" if any(n.name == sys.argv[2] for n in nodes) else "no")
else:
    grid = next(n for n in nodes if n.getRole() == pyatspi.ROLE_TABLE)
    table = grid.queryTable()
    print(grid.name, table.nRows, table.nColumns)
    cells = ((r, c, table.getAccessibleAt(r, c)) for r in range(table.nRows) for c in range(table.nColumns))
    for r, c, cell in cells:
        if cell.getState().contains(pyatspi.STATE_FOCUSED):
            print(r, c, cell.name, cell.description, sep="|")
