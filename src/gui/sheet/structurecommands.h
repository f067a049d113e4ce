#pragma once

#include <QObject>

class CellEditor;
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
    StructureCommands(QWidget *window, Sheet *sheet, CellEditor *editor, SheetHost &host);

    void insert_columns();
    void delete_columns();
    void insert_rows();
    void delete_rows();

    void insert_columns(int col, int count);
    void delete_columns(int col, int count);
    void insert_rows(int row, int count);
    void delete_rows(int row, int count);

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
    SheetHost &host_;
};
