#pragma once

#include "viewpointsettings.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// One evaluation sheet: the grid of cell texts with its fixed title row and
// row-number column, column widths, the cursor, the per-score-column settings
// and the document state. Everything is private and changes only through the
// mutators here, which notify, so that every view refreshes itself; every
// change to what a save would write marks the sheet unsaved.

// Settings of one score column, kept in the column's slot.
struct ScoreSettings {
    double weight = 10;
    double full_marks = 0;  // 0 = not given
    QString full_marks_text = QStringLiteral("不明");  // full marks as typed
    // The teacher gave the full marks (typed them, or they came from a file):
    // only the teacher raises them. Otherwise they follow the highest mark.
    bool full_marks_given = false;
    // The viewpoint the column counts for: 0 none, 1.. the sheet's viewpoints.
    int viewpoint = 0;

    bool operator==(const ScoreSettings &) const = default;
};

struct SheetChange;

// Hears every change the sheet's mutators make, with what it replaced.
class SheetRecorder
{
public:
    virtual ~SheetRecorder() = default;
    virtual void record(SheetChange &&change) = 0;
};

// Keeps something of its own for each row (the grades an evaluation may put
// back) and follows the rows as they come and go, undo and redo included.
class RowFollower
{
public:
    virtual ~RowFollower() = default;
    // Rows at..at+count-1 are going: what was kept for them, to come back
    // with them if the removal is undone.
    virtual QVariant take_rows(int at, int count) = 0;
    // Rows at..at+count-1 came in: kept is what take_rows gave for these
    // very rows, or null for new ones.
    virtual void put_rows(int at, int count, const QVariant &kept) = 0;
};

class Sheet : public QObject
{
    Q_OBJECT

public:
    struct Cell {
        QString text;
        bool red = false;
        // A result cell (a letter or the 評定) the teacher set by hand.
        bool hand_set = false;
    };

    static constexpr int kMaxRows = 450;
    static constexpr int kMaxCols = 450;
    static constexpr int kSettingSlots = 453;
    static constexpr int kNewRows = 101;
    static constexpr int kNewCols = 9;
    static constexpr int kFirstScoreCol = 5;
    // Result columns after the grade column: a letter per viewpoint, then 評定.
    static constexpr int kMaxResultCols = ViewpointSettings::kMaxViewpoints + 1;

    explicit Sheet(QObject *parent = nullptr);

    // Builds the sheet of a new sheet window; unit_width is the width of "*"
    // in the sheet font, in twips.
    void build_new(double unit_width);

    // --- Cells and shape -------------------------------------------------
    int rows() const { return int(cells_.size()); }
    int cols() const { return cols_; }
    void set_rows(int rows);
    void set_cols(int cols);

    const QString &text(int row, int col) const;
    // A column's texts by grid row, the title in [0].
    QStringList column_texts(int col) const;
    void set_text(int row, int col, const QString &text);
    bool is_red(int row, int col) const;
    void set_red(int row, int col, bool red);
    // Setting a result cell's text (a student row's) makes it hand-set when
    // the text is not empty and clears the mark when it is: typing, pasting
    // and clearing are the teacher's. Whoever writes computed values clears
    // the mark after the text.
    bool is_hand_set(int row, int col) const;
    void set_hand_set(int row, int col, bool hand_set);

    // Empties every cell and makes the grid one row by one column.
    void clear_to_single_cell();
    // Appends a row whose row-number cell holds number_text.
    void append_row(const QString &number_text);
    // Appends whole rows, each of cols() cells, as one change: what they
    // hold comes and goes with them on undo and redo.
    void append_rows(QList<QList<Cell>> &&rows);
    // Sets a run of cells of one row from first_col on, as one change: no
    // notification per cell (views hear of it through shape_changed).
    void set_row_texts(int row, int first_col, QList<QString> &&texts);
    void insert_rows(int at, int count);
    void remove_rows(int at, int count);
    void insert_columns(int at, int count);
    void remove_columns(int at, int count);

    int column_width(int col) const;
    void set_column_width(int col, int twips);
    // Column widths of a sheet with the evaluation columns, for a unit width.
    void apply_standard_widths(double unit_width);

    // Column roles. Result columns, when the sheet has them, follow the
    // grade column; a sheet without them has the columns it always had.
    int result_count() const { return result_cols_; }
    int first_result_col() const { return cols_ - result_cols_; }
    bool is_result_col(int col) const { return result_cols_ > 0 && col >= cols_ - result_cols_ && col < cols_; }
    int score_count() const { return cols_ - 7 - result_cols_; }
    int total_col() const { return cols_ - 2 - result_cols_; }
    int grade_col() const { return cols_ - 1 - result_cols_; }
    bool is_score_col(int col) const { return col >= kFirstScoreCol && col <= cols_ - 3 - result_cols_; }
    bool has_evaluation_layout() const;
    // Adds or removes result columns at the right edge (new ones are empty,
    // as wide as the total column).
    void set_result_count(int count);
    // The last count columns are result columns, as a file read holds them.
    void take_result_columns(int count);

    // --- Cursor: the current cell is the fixed corner of the selection -----
    int row() const { return row_; }
    int col() const { return col_; }
    int sel_row() const { return sel_row_; }
    int sel_col() const { return sel_col_; }
    void set_current_cell(int row, int col);
    void set_selection_end(int row, int col);
    int top_selected_row() const { return qMin(row_, sel_row_); }
    int bottom_selected_row() const { return qMax(row_, sel_row_); }
    int left_selected_col() const { return qMin(col_, sel_col_); }
    int right_selected_col() const { return qMax(col_, sel_col_); }

    // --- Per-score-column settings, slot k for grid column k + 4 -----------
    // Slot 1 is the first score column's; the columns in front have none.
    static constexpr int column_of_slot(int k) { return k + kFirstScoreCol - 1; }
    static constexpr int slot_of_column(int col) { return col - kFirstScoreCol + 1; }
    // Inserting and removing columns moves them with their columns.
    const ScoreSettings &settings(int k) const;
    void set_settings(int k, const ScoreSettings &settings);
    // Full marks as the teacher gives them (0: none, they follow the marks).
    void set_full_marks(int k, double full_marks);
    void set_weight(int k, double weight);

    // --- Document state ------------------------------------------------------
    const QString &sheet_name() const { return sheet_name_; }
    // The name of a sheet that has no file yet.
    static QString untitled_name();
    void set_sheet_name(const QString &name);
    // The working folder when the sheet was built.
    const QString &start_dir() const { return start_dir_; }
    // The sheet has content; once it has, it keeps it.
    bool has_content() const { return has_content_; }
    void set_has_content();
    // Nothing changed since the sheet was last saved or read.
    bool is_saved() const { return saved_; }
    void mark_saved();
    // The two criteria: the upper total for grade 2 and the lower for 10.
    const QString &lower_text() const { return lower_text_; }
    const QString &upper_text() const { return upper_text_; }
    void set_lower_text(const QString &text);
    void set_upper_text(const QString &text);
    // The chosen candidate, -1 when none: what a save writes.
    int candidate_index() const { return candidate_index_; }
    void set_candidate_index(int index);
    // Viewpoint names, thresholds and the conversion to 評定.
    const ViewpointSettings &viewpoint_settings() const { return viewpoint_settings_; }
    void set_viewpoint_settings(const ViewpointSettings &settings);

    // --- For views that keep what they measured per column -------------------
    // Counts the changes of texts below the titles that were not reported
    // cell by cell (changes of many rows at once, cells set while the
    // signals are held back); moves of whole columns do not count.
    quint64 text_revision() const { return text_revision_; }
    // Whole columns that came in (count > 0: empty, or back with their texts
    // on undo) or went (count < 0), in order; the sheet keeps the latest few.
    struct ColumnMove {
        int at = 0;
        int count = 0;
    };
    // Moves counted since the sheet was made.
    qint64 column_move_count() const { return dropped_moves_ + column_moves_.size(); }
    // The moves after the first `seen` ones; none when they are no longer kept.
    std::optional<QList<ColumnMove>> column_moves_since(qint64 seen) const;

    // Many changes as one: while a batch lives the sheet's signals are held
    // back, and at its end views hear that everything may have changed.
    class Batch
    {
    public:
        explicit Batch(Sheet &sheet);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        Sheet &sheet_;
        bool was_blocked_;
    };

    // While one lives the sheet's changes go unrecorded: a fresh start (a
    // file read) whose history is cleared after, so recording is wasted.
    class Unrecorded
    {
    public:
        explicit Unrecorded(Sheet &sheet) : sheet_(sheet), recorder_(sheet.recorder_)
        {
            sheet.recorder_ = nullptr;
        }
        ~Unrecorded() { sheet_.recorder_ = recorder_; }
        Unrecorded(const Unrecorded &) = delete;
        Unrecorded &operator=(const Unrecorded &) = delete;

    private:
        Sheet &sheet_;
        SheetRecorder *recorder_;
    };

signals:
    void cell_changed(int row, int col);
    void shape_changed();  // rows, columns or widths changed
    void current_cell_changed();
    void selection_changed();
    void settings_changed(int k);
    void rows_inserted(int at, int count);
    void rows_removed(int at, int count);
    void document_changed();  // name, flags, criteria or candidate

public:
    // --- Undo -----------------------------------------------------------------
    // Every change is reported to the recorder while one is set.
    void set_recorder(SheetRecorder *recorder) { recorder_ = recorder; }
    // Hears every insertion and removal of rows (those of set_rows and
    // the appends at the end excepted) while one is set.
    void set_row_follower(RowFollower *follower) { follower_ = follower; }
    // Puts back what a change replaced, through the same notifications as
    // the mutators, and returns the change that puts it back again.
    SheetChange revert(SheetChange &&change);

private:
    // Recording what a change replaces, and putting it back: sheetchange.cpp.
    void record(SheetChange &&change);
    void record_cells(int row, int first_col, int count);
    void record_rows(int at, int count, bool inserted, const QVariant &kept = {});
    void record_columns(int at, int count, bool inserted, bool moves_settings);
    void record_widths();
    void record_settings(int k);
    void record_document();
    void record_whole();
    // Each puts back one kind of change and keeps in back what it replaced.
    void revert_cells(const SheetChange &change, SheetChange &back);
    void revert_rows(const SheetChange &change, SheetChange &back);
    void revert_columns(const SheetChange &change, SheetChange &back);
    void revert_widths(const SheetChange &change, SheetChange &back);
    void revert_settings(const SheetChange &change, SheetChange &back);
    void revert_document(const SheetChange &change, SheetChange &back);
    void revert_whole(const SheetChange &change, SheetChange &back);

    void clamp_cursor();
    void move_settings(int at, int count);
    bool is_saved_col(int col) const { return col >= 1 || col == cols_ - 1; }
    // Everything a save writes goes through here.
    void mark_unsaved();
    void set_document_text(QString &field, const QString &text, bool saved);

    QList<QList<Cell>> cells_;
    QList<int> widths_;
    int cols_ = 0;
    int row_ = 0;
    int col_ = 0;
    int sel_row_ = 0;
    int sel_col_ = 0;
    QList<ScoreSettings> settings_;

    QString sheet_name_;
    QString start_dir_;
    bool has_content_ = false;
    bool saved_ = false;
    QString lower_text_ = QStringLiteral("25");
    QString upper_text_ = QStringLiteral("95");
    int candidate_index_ = -1;
    ViewpointSettings viewpoint_settings_;
    int result_cols_ = 0;
    SheetRecorder *recorder_ = nullptr;
    RowFollower *follower_ = nullptr;
    quint64 text_revision_ = 0;
    QList<ColumnMove> column_moves_;
    qint64 dropped_moves_ = 0;
    void texts_changed_unheard() { ++text_revision_; }
    void note_column_move(int at, int count);
};
