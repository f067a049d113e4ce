#pragma once

#include "gradereport.h"

#include <QDialog>

class PrinterSettings;
class Prompter;
class QListWidget;
class QVBoxLayout;

// The grade-meeting report window: the sheets to put side by side (the open
// sheets, files the teacher adds), the report's pages as they will print,
// and printing or saving them as PDF.
class ReportWindow : public QDialog
{
    Q_OBJECT

public:
    // open_sheets: the open sheets' results, offered ticked.
    ReportWindow(Prompter &prompter, PrinterSettings &printer_settings,
                 const QList<gradereport::ClassResult> &open_sheets, QWidget *parent);

    // Asks for sheet files and adds them, ticked.
    void add_files();
    void add_class(const gradereport::ClassResult &result);
    // The report over the ticked sheets.
    gradereport::Report report() const;
    void print();
    void save_pdf();
    QListWidget *sources() const { return sources_; }

private:
    void refresh();

    Prompter &prompter_;
    PrinterSettings &printer_settings_;
    QList<gradereport::ClassResult> classes_;  // by row of sources_
    QListWidget *sources_;
    QWidget *pages_;
    QVBoxLayout *pages_layout_;
};
