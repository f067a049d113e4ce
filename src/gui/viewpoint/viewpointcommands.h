#pragma once

#include <QObject>

class Prompter;
class QWidget;
class Sheet;
class UndoCommands;
class ViewpointPanel;

// 観点別評価 of a sheet window: the panel opened on the sheet as it stands,
// 決定 and 中止, and the copy of the letters and 評定 for the school's system.
class ViewpointCommands : public QObject
{
    Q_OBJECT

public:
    ViewpointCommands(QWidget *window, Sheet *sheet, ViewpointPanel *panel, Prompter &prompter);

    // The undo steps 決定 makes go through these commands.
    void set_undo(UndoCommands *undo) { undo_ = undo; }
    void open_panel();
    void copy_results();

signals:
    // The panel closed: the keys go back to the current cell.
    void closed();
    // 決定 wrote the result.
    void decided();

private:
    void decide();
    void abort();

    QWidget *window_;
    Sheet *sheet_;
    ViewpointPanel *panel_;
    Prompter &prompter_;
    UndoCommands *undo_ = nullptr;
};
