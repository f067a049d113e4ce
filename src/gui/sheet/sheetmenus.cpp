#include "sheet/sheetmenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

SheetMenus::SheetMenus(QWidget *owner) : QObject(owner)
{
    QHash<QLatin1StringView, QMenu *> menus;
    QMenu *current = nullptr;
    for (const MenuEntry &entry : commands::menu_tree()) {
        switch (entry.kind) {
        case MenuEntry::Kind::BarMenu:
        case MenuEntry::Kind::Submenu:
        case MenuEntry::Kind::ContextMenu: {
            QMenu *parent_menu = menus.value(entry.under);
            Q_ASSERT((entry.kind == MenuEntry::Kind::Submenu) == (parent_menu != nullptr));
            current = new QMenu(entry.title.toString(),
                                parent_menu ? static_cast<QWidget *>(parent_menu) : owner);
            current->setObjectName(entry.name);
            current->menuAction()->setObjectName(entry.name);
            menus.insert(entry.name, current);
            if (parent_menu)
                parent_menu->addMenu(current);
            else if (entry.kind == MenuEntry::Kind::BarMenu)
                bar_menus_.append(current);
            else
                context_menu_ = current;
            break;
        }
        case MenuEntry::Kind::Separator:
            Q_ASSERT(current);
            current->addSeparator()->setObjectName(entry.name);
            break;
        case MenuEntry::Kind::Item:
            Q_ASSERT(current);
            add_item(current, entry.id, current == context_menu_);
            break;
        }
    }
}

void SheetMenus::add_item(QMenu *menu, Command id, bool in_context)
{
    const CommandInfo &command = commands::info(id);
    const CommandInfo::Item &item = in_context ? command.context_item : command.menu_item;
    Q_ASSERT(!item.name.isEmpty());
    QString caption = item.caption.toString();
    // Qt shows what follows a tab as the item's key, at the menu's right.
    if (!in_context)
        for (const CommandInfo &other : commands::all())
            if (other.key.exists() && other.key.shown_beside == id)
                caption += u'\t' + QKeySequence(other.key.combination).toString(QKeySequence::NativeText);
    QAction *action = menu->addAction(caption);
    action->setObjectName(item.name);
    (in_context ? context_items_ : items_).insert(id, action);
    if (command.handler)
        connect(action, &QAction::triggered, this, [this, id] { emit triggered(id); });
}

QAction *SheetMenus::action(Command id) const
{
    QAction *item = items_.value(id);
    Q_ASSERT(item);
    return item;
}

QAction *SheetMenus::context_action(Command id) const
{
    QAction *item = context_items_.value(id);
    Q_ASSERT(item);
    return item;
}

void SheetMenus::enable_for(const CommandState &state)
{
    for (const auto *items : {&items_, &context_items_})
        for (auto it = items->cbegin(); it != items->cend(); ++it)
            it.value()->setEnabled(commands::is_enabled(it.key(), state));
}
