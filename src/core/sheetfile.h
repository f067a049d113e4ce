#pragma once

#include "scoring.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <optional>
#include <vector>

class Sheet;

// The sheet file: comma-separated code page 932 text with CR LF line ends,
// a marker line with full marks and weights, a criteria line, then the grid.
namespace sheetfile {

inline constexpr int kFieldLimit = 500;
// Line 1 carries two fields per score column: a 450-column sheet needs 887.
inline constexpr int kFirstLineFieldLimit = 887;
// Far above any real sheet; a larger file is not one, and reading it whole
// would only exhaust memory.
inline constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;
inline constexpr int kMaxReadRows = 10000;

// What the teacher is told about a file this program did not write.
QString foreign_file_message();
// Why a save over a FIFO, a device or the like is refused.
QString not_a_file_message();
// Why reading one is refused: opening a FIFO would wait for a writer.
QString not_a_file_to_read_message();

struct Fields {
    QStringList fields;   // fields[0] is field 1
    int field_count = 0;  // limit + 1 when the line had too many fields
};

// Splits one line (without its line end) into fields.
Fields split_line(QStringView line, int limit = kFieldLimit);
// The same fields as views into line, into fields (emptied first); returns
// field_count.
int split_views(QStringView line, std::vector<QStringView> &fields, int limit = kFieldLimit);

// The first character of the sheet that the file cannot hold as it is: one
// code page 932 lacks, or a double quote, which would end a quoted field.
struct Unencodable {
    int row = -1;           // grid row, -1 for a criterion, -2 for a viewpoint's name
    int col = -1;           // grid column, 1 / 2 for the first / second criterion,
                            // or the viewpoint's number
    QString character;      // the character itself (one or two UTF-16 units)
    QString replacement;    // what the file gets instead: "?" or "＂"
};
std::optional<Unencodable> find_unencodable(const Sheet &sheet);

// The exact bytes of the file. A text holding a comma or a tab is written
// in double quotes, which the line splitter reads back as one field; a
// double quote becomes "＂" and a character code page 932 lacks "?".
QByteArray encode(const Sheet &sheet);

struct WriteResult {
    bool ok = false;
    QString error;  // the system's reason when not ok
};
// Writes atomically: the old file survives any failure.
WriteResult write_file(const QString &path, const QByteArray &bytes);

enum class ReadOutcome {
    Complete,    // everything read
    Incomplete,  // a line too long or an input error: rows so far kept
    Foreign,     // not a sheet file of this program: the grid was cleared
    Refused,     // cannot be opened, or ours but unreadable: the sheet is as it was
};
struct ReadResult {
    ReadOutcome outcome = ReadOutcome::Complete;
    QString reason;  // why the read was incomplete
    // Refused for its size alone: no sheet file is that large.
    bool too_large = false;
};
// Why a file over kMaxFileBytes is not read.
QString too_large_message();

// Reads a sheet file into sheet: settings, criteria, the chosen candidate, the grid cut to
// n + 7 columns, row numbers, standard widths for unit_width, red grade cells,
// cursor at (1, 1), has_content; when complete, sheet_name and the saved mark.
ReadResult read_file(const QString &path, Sheet &sheet, double unit_width);
ReadResult read_bytes(const QByteArray &bytes, Sheet &sheet, double unit_width);

// The row lines of a file written again as they are read, each up to its
// total: what the batch saves once it has evaluated, without keeping every
// field of the sheet.
class EncodedRows
{
public:
    // Each row line is cut or padded to fields fields, those before the total.
    void start(int fields, qsizetype bytes);
    void add_row(const std::vector<QStringView> &fields);
    // The file: the header, then grid row r's fields, totals[r] and grades[r]
    // for every r (a title row of empty fields when the file had no row
    // line). Nothing when some text could not be written as it is.
    std::optional<QByteArray> file(const QString &header, const QStringList &totals,
                                   const QStringList &grades);

private:
    QByteArray bytes_;
    qsizetype used_ = 0;
    std::vector<qsizetype> ends_;  // where each row's fields end in bytes_
    int fields_ = 0;
    bool clean_ = true;
    // On the heap: the converter counts its errors at the address it was
    // made at, and a moved QStringEncoder would count them elsewhere.
    std::unique_ptr<QStringEncoder> encoder_;
};

// What an evaluation reads of a sheet file, as the sheet read from it would
// hold it, for the batch command, which never shows the sheet: building the
// whole grid costs several times as much.
struct Scores {
    std::vector<double> full_marks;  // full marks of score column k at [k]
    scoring::ScoreGrid grid{std::vector<double>()};
    QString lower_text;
    QString upper_text;
    int candidate = -1;  // the candidate the file was saved with
    QStringList totals;  // the total column by grid row, the title in [0]
    QStringList grades;  // the grade column likewise
    bool has_viewpoints = false;  // some score column has a viewpoint
    bool has_viewpoint_fields = false;  // line 2 carries viewpoint grading
    QStringList viewpoint_names;   // short names, when the file has viewpoints
    QList<QStringList> results;    // each result column by grid row
    EncodedRows encoded;           // only when read_scores was asked to keep the rows
};
enum class KeepRows { No, Yes };
ReadResult read_scores(const QString &path, Scores &scores, KeepRows keep = KeepRows::No);
ReadResult read_scores_from_bytes(const QByteArray &bytes, Scores &scores,
                                  KeepRows keep = KeepRows::No);

// The bytes encode gives the sheet read from the file of scores (its rows
// kept) once evaluated as scores holds it, without building that sheet: the
// criteria texts and candidate are the evaluation's. Nothing when some text
// needs more than plain writing (a double quote, a line end in a cell, a
// character code page 932 lacks), or when the file has viewpoint grading:
// then the sheet itself must be built.
std::optional<QByteArray> encode_evaluated(Scores &scores, const QString &lower,
                                           const QString &upper, int candidate);

}  // namespace sheetfile
