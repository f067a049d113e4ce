#!/usr/bin/python3
# Reads the program's accessibility tree over AT-SPI, as a screen reader does.
#   accessibility_tree.py unnamed   every shown control without a name, one a line
#   accessibility_tree.py table     the grid's rows and columns, then the focused
#                                   cell's row, column, text and description
#   accessibility_tree.py has NAME  yes when a shown object has that name
#   accessibility_tree.py editor    the name of the cell editor (Text1's role: text)
import sys

import pyatspi

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SCROLL_BAR, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST,
    pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
    pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_FILLER, pyatspi.ROLE_CANVAS,
}


def program():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "ぽん採点":
            return app
    sys.exit("no program on the accessibility bus")


def walk(node):
    yield node
    # A table's cells are its text, not controls; read through the table.
    if node.getRole() == pyatspi.ROLE_TABLE:
        return
    for child in node:
        if child is not None:
            yield from walk(child)


def shown(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def main():
    app = program()
    nodes = [n for n in walk(app) if shown(n)]
    if sys.argv[1] == "unnamed":
        for n in nodes:
            if n.getRole() in CONTROLS and not n.name.strip():
                path, up = [], n
                while up is not None and up.getRole() != pyatspi.ROLE_APPLICATION:
                    path.append(up.name or up.getRoleName())
                    up = up.parent
                print(" < ".join(path))
    elif sys.argv[1] == "has":
        print("yes" if any(n.name == sys.argv[2] for n in nodes) else "no")
    elif sys.argv[1] == "table":
        grid = next(n for n in nodes if n.getRole() == pyatspi.ROLE_TABLE)
        table = grid.queryTable()
        print(grid.name, table.nRows, table.nColumns)
        for r in range(table.nRows):
            for c in range(table.nColumns):
                cell = table.getAccessibleAt(r, c)
                if cell.getState().contains(pyatspi.STATE_FOCUSED):
                    print(r, c, cell.name, cell.description, sep="|")
    elif sys.argv[1] == "editor":
        focused = [n for n in nodes if n.getState().contains(pyatspi.STATE_FOCUSED)
                   and n.getRole() == pyatspi.ROLE_TEXT]
        print(focused[0].name if focused else "")


main()
