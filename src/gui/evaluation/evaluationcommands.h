#pragma once

#include "scoring.h"

#include <QObject>

class EvaluationPanel;
class Prompter;
class QWidget;
class Sheet;

// The evaluation command of a sheet window (totals, candidates, the panel)
// and the question the panel's cross asks.
class EvaluationCommands : public QObject
{
    Q_OBJECT

public:
    EvaluationCommands(QWidget *window, Sheet *sheet, EvaluationPanel *panel, Prompter &prompter);

    void evaluate();

signals:
    // The frame's own commands wait while the command runs.
    void busy(bool on);
    // The totals and candidates are computed: the grid's pointer goes back
    // to the arrow.
    void computed();
    // The cross's question was answered.
    void answered();
    // The teacher wants to look at this cell before evaluating.
    void check_requested(int row, int col);

private:
    // Asks before full marks the teacher gave are raised to a mark above
    // them; on no, the cursor goes to that mark and nothing is evaluated.
    bool may_raise_full_marks(const std::vector<scoring::ScoreGrid::MarkAbove> &above);
    // The cross: keep the grades, put the old ones back, or go on.
    void close_panel();

    QWidget *window_;
    Sheet *sheet_;
    EvaluationPanel *panel_;
    Prompter &prompter_;
};
