#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

class Sheet;

// Numbers are never shown or printed cut: a column of marks widens to its
// widest number, and a number that still has no room stands as "###", as
// spreadsheets show it. Lengths are the caller's own (pixels on the screen,
// twips on paper).
namespace columnfit {

using Measure = std::function<double(const QString &)>;

// What stands in a cell for a number that has no room.
inline const QString kNoRoom = QStringLiteral("###");

// The text, spaces aside, reads as one number as a whole: "12.25", "-3", ".5".
bool is_number(QStringView text);

// Columns that widen to their widest number: the score columns, and the
// total of a sheet with the evaluation columns.
bool widens(const Sheet &sheet, int col);

// Width of the widest number in a column below its title; 0 when it holds none.
double widest_number(const Sheet &sheet, int col, const Measure &measure);

// What a cell shows in the room it has: its text, or "###" for a number
// wider than the room. Other texts are left to be cut at the cell's edge.
QString shown(const QString &text, double room, const Measure &measure);

// A title in a box `room` wide and at most `lines` lines high, one line of
// text each: the title whole on one line; else broken over the lines, each
// as full as it goes; else shortened at its start with 「…」, keeping its end,
// where titles such as 小テスト1 and 小テスト2 differ. A character that has no
// room even alone leaves only 「…」.
QStringList fit_title(const QString &title, double room, int lines, const Measure &measure);

}  // namespace columnfit
