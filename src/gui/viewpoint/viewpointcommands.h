#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

class Prompter;
class QWidget;
class Sheet;
class SheetHistory;
class ViewpointPanel;

// 観点別評価 of a sheet window: the panel opened on the sheet as it stands,
// 決定 and 中止, and the copy of the letters and 評定 for the school's system.
class ViewpointCommands : public QObject
{
    Q_OBJECT

public:
    // The panel is made by make_panel when first wanted: most sheet windows
    // never show it.
    ViewpointCommands(QWidget *window, Sheet *sheet, std::function<ViewpointPanel *()> make_panel,
                      Prompter &prompter);

    // 決定 writes into the sheet's history as one step.
    void set_history(SheetHistory *history) { history_ = history; }
    void open_panel();
    // The panel, made now if it was not yet; nullptr until then from built_panel.
    ViewpointPanel *panel();
    ViewpointPanel *built_panel() const { return panel_; }
    void copy_results();
    // Why a result cell needs a look: the checks of its row, shown on the
    // 評定 cell. Empty when none.
    QString result_note(int row, int col) const;
    // Students whose results need a look.
    int check_count() const;

signals:
    // The panel closed: the keys go back to the current cell.
    void closed();
    // 決定 wrote the result.
    void decided();
    // The checks of the sheet's results were made again.
    void checks_changed();

private:
    void decide();
    void abort();
    // The checks again from the sheet's result columns as they stand.
    void recheck();

    QWidget *window_;
    Sheet *sheet_;
    std::function<ViewpointPanel *()> make_panel_;
    ViewpointPanel *panel_ = nullptr;
    Prompter &prompter_;
    SheetHistory *history_ = nullptr;
    // Per grid row from 1: the reasons its results need a look.
    QList<QStringList> checks_;
};
