#pragma once

#include "sheet/commands.h"

#include <QHash>
#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QWidget;

// The menu tree of a sheet window, built from the table of commands: the
// menus of its menu bar and its context menu. Items are found by command.
class SheetMenus : public QObject
{
    Q_OBJECT

public:
    explicit SheetMenus(QWidget *owner);

    // The menus that stand in the menu bar, left to right.
    const QList<QMenu *> &bar_menus() const { return bar_menus_; }
    QMenu *context_menu() const { return context_menu_; }
    // A command's item in the menu bar's menus, or in the context menu.
    QAction *action(Command id) const;
    QAction *context_action(Command id) const;
    // Every item enabled or not as its command is in this state.
    void enable_for(const CommandState &state);

signals:
    // An item was chosen whose command has a handler.
    void triggered(Command id);

private:
    void add_item(QMenu *menu, Command id, bool in_context);

    QList<QMenu *> bar_menus_;
    QMenu *context_menu_ = nullptr;
    QHash<Command, QAction *> items_;
    QHash<Command, QAction *> context_items_;
};
