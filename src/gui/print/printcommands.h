#pragma once

#include <QObject>

class Prompter;
class QWidget;
class Sheet;
class SheetGrid;

namespace pagination {
struct ScreenMeasures;
}

// Printing the selected range on the system's default printer, or into a
// PDF file when no printer is installed.
class PrintCommands : public QObject
{
    Q_OBJECT

public:
    PrintCommands(QWidget *window, Sheet *sheet, SheetGrid *grid, Prompter &prompter);

    void mnu_print_Click();

private:
    pagination::ScreenMeasures screen_measures() const;

    QWidget *window_;
    Sheet *sheet_;
    SheetGrid *grid_;
    Prompter &prompter_;
};
