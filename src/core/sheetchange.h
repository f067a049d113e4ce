#pragma once

#include "sheet.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

// One change as the sheet recorded it: what it replaced, enough to put it back.
struct SheetChange {
    enum class Kind {
        Cells,      // a run of cells of row `at` from column `col`: their old contents
        Rows,       // rows at..at+count-1 inserted, or removed (their cells kept)
        Columns,    // columns inserted or removed; per row the removed run
        Widths,     // all column widths before
        Settings,   // slot `at` before
        Document,   // criteria, candidate and viewpoint settings before
        Whole,      // the whole grid before
    };
    Kind kind = Kind::Cells;
    int at = 0;
    int col = 0;
    int count = 0;
    bool inserted = false;
    bool moves_settings = false;  // columns whose settings slots moved with them
    QList<QList<Sheet::Cell>> cells;
    QList<int> widths;
    QList<ScoreSettings> settings;
    QString lower, upper;
    int candidate = -1;
    std::optional<ViewpointSettings> viewpoints;  // with Document only
    int result_cols = 0;  // Columns and Whole: the result column count before
    QVariant kept;  // removed rows: what the row follower kept for them

    // Roughly what keeping it costs, for the history's memory bound.
    qsizetype bytes() const;
};
