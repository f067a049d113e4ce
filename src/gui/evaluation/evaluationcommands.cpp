#include "evaluation/evaluationcommands.h"

#include "common/prompter.h"
#include "evaluation/evaluationpanel.h"
#include "numbers.h"
#include "scoring.h"
#include "sheet.h"

#include <QWidget>

using namespace Qt::StringLiterals;

EvaluationCommands::EvaluationCommands(QWidget *window, Sheet *sheet, EvaluationPanel *panel,
                                       Prompter &prompter)
    : QObject(window), window_(window), sheet_(sheet), panel_(panel), prompter_(prompter)
{
    connect(panel_, &EvaluationPanel::close_requested, this, &EvaluationCommands::close_panel);
}

bool EvaluationCommands::may_raise_full_marks(const std::vector<scoring::ScoreGrid::MarkAbove> &above)
{
    if (above.empty())
        return true;
    const scoring::ScoreGrid::MarkAbove &first = above.front();
    const int col = Sheet::column_of_slot(first.k);
    QString where = sheet_->text(0, col).trimmed();
    where = (where.isEmpty() ? QString() : u"「"_s + where + u"」の"_s) + QString::number(first.row) +
            u" 行目"_s;
    const QString text =
        u"満点を超える点数が "_s + QString::number(above.size()) + u" 件あります（最初は "_s + where +
        u"の "_s + numbers::plain_form(first.mark) + u"、満点は "_s +
        numbers::plain_form(first.full_marks) + u"）。\n"_s +
        u"満点をその列の最高点まで上げて評価計算を続けますか？\n"_s +
        u"［いいえ］を選ぶと評価計算をせず、その点数のセルへ移ります。"_s;
    if (prompter_.ask(window_, text, Prompter::Buttons::YesNo, u"確認"_s, Prompter::Answer::No) ==
        Prompter::Answer::Yes)
        return true;
    emit check_requested(first.row, col);
    return false;
}

void EvaluationCommands::evaluate()
{
    // A mark above full marks the teacher typed is most often a typo: raising
    // the full marks would rescale the whole class without a word.
    // The scores are read once: the question is modal, nothing changes them.
    const scoring::ScoreGrid scores = scoring::ScoreGrid::of(*sheet_);
    if (!may_raise_full_marks(scores.above()))
        return;

    // Run again while the panel is open, the command keeps what the sheet
    // held before the first run: that is what 中止 and いいえ restore.
    if (panel_->isHidden())
        panel_->save_grades();
    const scoring::TotalStatistics stats = scoring::compute_totals(*sheet_, scores);
    panel_->note_evaluated();
    panel_->show_statistics(stats);

    // The window is not disabled while the command runs: it runs to the end
    // before any event is seen, and a disabled sheet window lets the frame
    // bring another sheet to the front.
    emit busy(true);

    panel_->make_candidates();

    // A panel partly outside the client area comes back to the top, and
    // horizontally as little as needed to lie inside.
    const QRect panel = panel_->geometry();
    const int width = window_->width();
    if (panel.bottom() >= window_->height() || panel.top() < 0 || panel.right() >= width ||
        panel.left() < 0)
        panel_->move(qBound(0, panel.left(), qMax(0, width - panel.width())), 0);

    window_->unsetCursor();
    emit computed();

    panel_->show();
    panel_->raise();
    emit busy(false);
    // Read so from a file: every total would grade alike. The panel is where
    // the teacher sets them right.
    if (const QString refusal = panel_->criteria_refusal(); !refusal.isEmpty())
        prompter_.message(window_, refusal + u"\n評価基準を直すと、候補の平均が出ます。"_s);
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
