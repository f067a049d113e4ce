#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>

class PrinterSettings;
class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

// The print settings window: paper and orientation for printing and
// preview. A choice takes effect at once; キャンセル, or closing the window,
// puts back what was in force when it opened.
class PrintSettingsWindow : public QDialog
{
    Q_OBJECT

public:
    PrintSettingsWindow(PrinterSettings &settings, Prompter &prompter, QWidget *parent);

    // Shows the window with what is in force now.
    void open_settings();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Esc: as キャンセル.
    void reject() override;

private:
    void choose_paper(int index);
    void choose_orientation(int index);
    void cancel();
    void restore_printer();

    PrinterSettings &settings_;
    Prompter &prompter_;
    QLabel *printer_label_;
    QComboBox *paper_list_;
    QRadioButton *portrait_;
    QRadioButton *landscape_;
    QCheckBox *fit_width_;
    QList<QPageSize> papers_;
    QPageSize saved_paper_;
    QPageLayout::Orientation saved_orientation_ = QPageLayout::Portrait;
    bool saved_fit_width_ = false;
    bool filling_ = false;
};
