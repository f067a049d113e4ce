#pragma once

#include <QObject>

class CellEditor;
class QWidget;
class Sheet;
class SheetHistory;
class SheetMenus;

// 元に戻す and やり直し of a sheet window: the menu items, Ctrl+Z, Ctrl+Y and
// Ctrl+Shift+Z, and the editor brought back to the cell an undo changed.
class UndoCommands : public QObject
{
    Q_OBJECT

public:
    UndoCommands(QWidget *window, Sheet *sheet, CellEditor *editor, SheetMenus *menus);

    SheetHistory *history() const { return history_; }
    // Names what the teacher is doing now, for the menu item.
    void name(const QString &what);
    // A command that may wait in an event loop of its own (progress, a
    // question) stays one step while this lives.
    class Held
    {
    public:
        Held(UndoCommands &commands, const QString &what);
        ~Held();
        Held(const Held &) = delete;
        Held &operator=(const Held &) = delete;

    private:
        SheetHistory &history_;
    };
    // A file was read: nothing before it can be undone.
    void clear();
    void undo();
    void redo();

private:
    void after();
    void update_items();

    CellEditor *editor_;
    SheetMenus *menus_;
    SheetHistory *history_;
};
