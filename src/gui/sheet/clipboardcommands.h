#pragma once

#include <QObject>

class CellEditor;
class InputPanels;
class Prompter;
class QWidget;
class Sheet;
class SheetGrid;

// Copy, cut and paste through the system clipboard, clearing the selected
// cells and selecting the whole grid.
class ClipboardCommands : public QObject
{
    Q_OBJECT

public:
    ClipboardCommands(QWidget *window, Sheet *sheet, SheetGrid *grid, CellEditor *editor,
                      InputPanels *inputs, Prompter &prompter);

    void copy();
    void cut();
    void paste();
    void delete_contents();
    void select_all();

private:
    QWidget *window_;
    Sheet *sheet_;
    SheetGrid *grid_;
    CellEditor *editor_;
    InputPanels *inputs_;
    Prompter &prompter_;
};
