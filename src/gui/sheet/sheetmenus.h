#pragma once

#include <QHash>
#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QWidget;

// The menu tree of a sheet window: the menus of its menu bar and the context
// menu edit_2. Items are found by their names.
class SheetMenus : public QObject
{
    Q_OBJECT

public:
    explicit SheetMenus(QWidget *owner);

    // The menus that stand in the menu bar, left to right.
    const QList<QMenu *> &bar_menus() const { return bar_menus_; }
    QMenu *menu(const QString &name) const { return menus_.value(name); }
    QAction *action(const QString &name) const { return actions_.value(name); }
    QMenu *context_menu() const { return menu(QStringLiteral("edit_2")); }

private:
    QList<QMenu *> bar_menus_;
    QHash<QString, QMenu *> menus_;
    QHash<QString, QAction *> actions_;
};
