#include "evaluation/evaluationcommands.h"

#include "common/prompter.h"
#include "evaluation/evaluationpanel.h"
#include "scoring.h"
#include "sheet.h"
#include "sheet/sheetgrid.h"

#include <QWidget>

using namespace Qt::StringLiterals;

EvaluationCommands::EvaluationCommands(QWidget *window, Sheet *sheet, SheetGrid *grid,
                                       EvaluationPanel *panel, Prompter &prompter)
    : QObject(window), window_(window), sheet_(sheet), grid_(grid), panel_(panel),
      prompter_(prompter)
{
    connect(panel_, &EvaluationPanel::close_requested, this, &EvaluationCommands::close_panel);
}

void EvaluationCommands::hyouka_command()
{
    const scoring::TotalStatistics stats = scoring::calc_sougouten(*sheet_);
    panel_->show_statistics(stats);

    // The window is not disabled while the command runs: it runs to the end
    // before any event is seen, and a disabled sheet window lets the frame
    // bring another sheet to the front.
    emit busy(true);

    // Run again while the panel is open, the command keeps the grades the
    // sheet held before the first run: those are what 中止 and いいえ restore.
    if (panel_->isHidden())
        panel_->save_grades();
    panel_->mk_kouho();

    // A panel partly outside the client area comes back to the top, and
    // horizontally as little as needed to lie inside.
    const QRect panel = panel_->geometry();
    const int width = window_->width();
    if (panel.bottom() >= window_->height() || panel.top() < 0 || panel.right() >= width ||
        panel.left() < 0)
        panel_->move(qBound(0, panel.left(), qMax(0, width - panel.width())), 0);

    window_->unsetCursor();
    grid_->set_pointer(SheetGrid::Pointer::Default);

    panel_->show();
    panel_->raise();
    emit busy(false);
}

void EvaluationCommands::close_panel()
{
    const Prompter::Answer answer = prompter_.ask(
        window_,
        u"現在表示されているの評価の値を決定しますか。する場合は[はい]、破棄する場合は[いいえ]、評価計算を継続する場合は[キャンセル]をクリックしてください。"_s,
        Prompter::Buttons::YesNoCancel, u"確認"_s, Prompter::Answer::Cancel);
    if (answer == Prompter::Answer::No)
        panel_->restore_grades();
    if (answer != Prompter::Answer::Cancel)
        panel_->hide();
    emit answered();
}
