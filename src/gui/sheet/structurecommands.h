#pragma once

#include <QObject>

class CellEditor;
class InputPanels;
class SheetHost;
class QWidget;
class Sheet;

namespace structure {
struct Result;
}

// Inserting and deleting columns and rows: for the selected ones, or through
// the count dialog when a single cell is selected.
class StructureCommands : public QObject
{
    Q_OBJECT

public:
    StructureCommands(QWidget *window, Sheet *sheet, CellEditor *editor, InputPanels *inputs,
                      SheetHost &host);

    void insert_r();
    void del_r_();
    void insert_g_();
    void del_g_();

    void insert_retu(int col, int count);
    void del_retu(int col, int count);
    void insert_gyou(int row, int count);
    void del_gyou(int row, int count);

private:
    // A single selected cell asks the count dialog; otherwise the selection
    // is the range.
    bool single_cell() const;
    void ask_count(const QString &caption, const QString &prompt, void (StructureCommands::*act)(int, int),
                   bool rows);
    // A refusal is said; a change puts the editor back over the current cell.
    void finish(const structure::Result &result);

    QWidget *window_;
    Sheet *sheet_;
    CellEditor *editor_;
    InputPanels *inputs_;
    SheetHost &host_;
};
