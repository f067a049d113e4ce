#pragma once

#include <QObject>

class GridMeasures;
class PainterSurface;
class QPrinter;
class QWidget;
class SheetHost;
class Sheet;

namespace pagination {
struct Plan;
struct ScreenMeasures;
}

// Printing the selected range on the system's default printer, or into a
// PDF file when no printer is installed, and showing it page by page first.
// Both lay the pages out once, on the printer's printable area.
class PrintCommands : public QObject
{
    Q_OBJECT

public:
    PrintCommands(QWidget *window, Sheet *sheet, const GridMeasures *measures, SheetHost &host);

    void print();
    void preview();

private:
    pagination::ScreenMeasures screen_measures() const;
    // The default printer, or PDF without one, with the paper in force;
    // true when it writes PDF.
    bool prepare(QPrinter &printer) const;
    // The pages of the selected range on that printer; empty (and said why)
    // when the range cannot be printed.
    pagination::Plan plan_for(QPrinter &printer);
    // The share of the print size the pages use: below 1 when the table is
    // fitted to the paper's width.
    double share_ = 1;

    // The sheet's file name without its folder, for the footer.
    QString footer_name() const;
    // Page i of the plan with its footer.
    void draw_page(PainterSurface &surface, const pagination::Plan &plan, qsizetype i,
                   const QString &date) const;

    QWidget *window_;
    Sheet *sheet_;
    const GridMeasures *measures_;
    SheetHost &host_;
};
