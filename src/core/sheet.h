#pragma once

#include <QList>
#include <QObject>
#include <QString>

// One evaluation sheet: the grid of cell texts with its fixed title row and
// row-number column, column widths, the cursor, the per-score-column settings
// and the document state. Every change goes through the mutators here so that
// views repaint from the notifications.

// Settings of one score column slot. Slots belong to positions, not columns.
struct ScoreSettings {
    double omomi = 10;               // weight
    double manten = 0;               // full marks, 0 = not given
    QString manten_text = QStringLiteral("不明");  // full marks as typed
    bool manten_flg = false;         // full marks entered
};

struct DocumentState {
    QString sheet_name;
    QString start_dir;
    bool content_flg = false;
    bool saved_flg = false;
    bool save_cancel_flg = false;
    bool no_prompt_flg = false;
    QString lower_text = QStringLiteral("25");  // criterion: upper total for grade 2
    QString upper_text = QStringLiteral("95");  // criterion: lower total for grade 10
    double kouho_no = 0;                       // candidate index read from the file
};

class Sheet : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxRows = 450;
    static constexpr int kMaxCols = 450;
    static constexpr int kSettingSlots = 453;
    static constexpr int kNewRows = 101;
    static constexpr int kNewCols = 9;
    static constexpr int kFirstScoreCol = 5;

    explicit Sheet(QObject *parent = nullptr);

    // Builds the sheet of a new sheet window; unit_width is the width of "*"
    // in the sheet font, in twips.
    void build_new(double unit_width);

    int rows() const { return int(cells_.size()); }
    int cols() const { return cols_; }
    void set_rows(int rows);
    void set_cols(int cols);

    const QString &text(int row, int col) const;
    void set_text(int row, int col, const QString &text);
    bool is_red(int row, int col) const;
    void set_red(int row, int col, bool red);

    // Empties every cell and makes the grid one row by one column.
    void clear_to_single_cell();
    // Appends a row whose row-number cell holds number_text.
    void append_row(const QString &number_text);
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

    // Column roles.
    int score_count() const { return cols_ - 7; }
    int total_col() const { return cols_ - 2; }
    int grade_col() const { return cols_ - 1; }
    bool is_score_col(int col) const { return col >= kFirstScoreCol && col <= cols_ - 3; }
    bool has_evaluation_layout() const;

    // Cursor: the current cell is the fixed corner of the selection.
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

    // Per-score-column settings, slot k for grid column k + 4.
    ScoreSettings &settings(int k);
    const ScoreSettings &settings(int k) const;

    DocumentState state;

signals:
    void cell_changed(int row, int col);
    void shape_changed();  // rows, columns or widths changed
    void current_cell_changed();
    void selection_changed();

private:
    struct Cell {
        QString text;
        bool red = false;
    };
    void clamp_cursor();

    QList<QList<Cell>> cells_;
    QList<int> widths_;
    int cols_ = 0;
    int row_ = 0;
    int col_ = 0;
    int sel_row_ = 0;
    int sel_col_ = 0;
    mutable QList<ScoreSettings> settings_;
};
