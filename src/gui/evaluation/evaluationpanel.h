#pragma once

#include "grading.h"
#include "scoring.h"

#include <QFrame>

class CountGrid;
class CriterionInput;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollBar;
class QToolButton;
class Sheet;


// The evaluation panel "評価選択パネル", hidden until the evaluation command:
// the two criteria, the candidate averages, the counts of totals and grades,
// and the buttons that end an evaluation.
class EvaluationPanel : public QFrame
{
    Q_OBJECT

public:
    explicit EvaluationPanel(QWidget *parent = nullptr);
    ~EvaluationPanel() override;

    // The two criteria.
    QList<CriterionInput *> criteria() const { return {lower_, upper_}; }

    // The sheet the panel works on; unit_width is the width of "*" in the
    // sheet window's font (twips), which sizes the two count grids.
    void attach(Sheet *sheet, double unit_width);

    // The criteria labels show the sheet's criteria texts (after a file read).
    void refresh_criteria();
    // Why the sheet's criteria give no candidates, naming both; empty when
    // they are the right way round.
    QString criteria_refusal() const;
    // Highest, lowest and the counts of the totals.
    void show_statistics(const scoring::TotalStatistics &stats);
    // Rebuilds the candidate list; nothing is selected afterwards.
    void make_candidates();
    // Recounts the grade column into the grade grid and the graded count.
    void count_grades();
    // The selected entry, -1 when none.
    int selected_entry() const;
    // Selects entry k; choosing it even when it is already the selected one.
    void choose_entry(int k);

    // Keeps what an evaluation changes — totals, full marks, the grade column,
    // the chosen candidate and the criteria — as the sheet held them before
    // it, and puts them back; note_evaluated remembers what the evaluation
    // wrote.
    void save_grades();
    void note_evaluated();
    void restore_grades();

signals:
    // The cross was pressed; the window asks what to do with the grades.
    void close_requested();
    // 再計算, 決定 or 中止 did its work: the teacher goes back to the sheet.
    void acted();
    // "最初へ": the cursor to the first score cell that does not count as it reads.
    void look_alike_requested();
    // A criterion typed that is no number: the window tells the teacher.
    void message_requested(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void build_criteria();
    void build_candidates();
    void build_count_grids();
    void build_statistics();
    void lay_out();
    void choose_candidate();
    void criterion_changed();
    void decide();
    void abort_evaluation();
    // The grade counts and the 要確認 count follow the sheet while shown.
    void schedule_recount();
    void recount();
    QLabel *caption(const QString &text);
    QLabel *value_box(const QString &name);

    Sheet *sheet_ = nullptr;
    // The grades and the totals kept for 中止 and いいえ, following the rows.
    struct BackupRows : RowFollower {
        grading::GradeBackup grades;
        scoring::TotalsBackup totals;
        QVariant take_rows(int at, int count) override;
        void put_rows(int at, int count, const QVariant &kept) override;
    };
    BackupRows rows_;
    bool recount_pending_ = false;
    int saved_candidate_ = -1;
    std::pair<QString, QString> saved_criteria_;
    QLabel *title_label_;
    QToolButton *close_button_;
    QLabel *step1_label_;
    QLabel *step1_text_label_;
    QLabel *lower_caption_;
    CriterionInput *lower_;
    QLabel *upper_caption_;
    CriterionInput *upper_;
    QLabel *step2_label_;
    QListWidget *candidate_list_;
    QPushButton *recalc_button_;
    QPushButton *decide_button_;
    QPushButton *abort_button_;
    QLabel *totals_caption_;
    QLabel *grades_caption_;
    CountGrid *totals_grid_;
    CountGrid *grades_grid_;
    QLabel *highest_caption_;
    QLabel *highest_label_;
    QLabel *lowest_caption_;
    QLabel *lowest_label_;
    QLabel *graded_caption_;
    QLabel *graded_label_;
    QLabel *average_caption_;
    QLabel *average_label_;
    QLabel *deviation_caption_;
    QLabel *deviation_label_;
    QPushButton *look_alike_button_;
};
