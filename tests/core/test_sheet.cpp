#include "history.h"
#include "numbers.h"
#include "sheet.h"

#include <QSignalSpy>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;

using Change = std::function<void(Sheet &)>;
Q_DECLARE_METATYPE(Change)

class TestSheet : public QObject
{
    Q_OBJECT

private slots:
    void new_sheet_layout()
    {
        Sheet sheet;
        sheet.build_new(120);
        QCOMPARE(sheet.rows(), 101);
        QCOMPARE(sheet.cols(), 9);
        const QStringList titles = {u""_s,   u"年"_s,  u"組"_s,     u"NO"_s,        u"氏名"_s,
                                    u"点1"_s, u"点2"_s, u"総合点"_s, u"評価･評定"_s};
        for (int c = 0; c < 9; ++c)
            QCOMPARE(sheet.text(0, c), titles[c]);
        QCOMPARE(sheet.text(1, 0), u"   1"_s);
        QCOMPARE(sheet.text(10, 0), u"  10"_s);
        QCOMPARE(sheet.text(100, 0), u" 100"_s);
        for (int r = 1; r < 101; ++r)
            for (int c = 1; c < 9; ++c)
                QVERIFY(sheet.text(r, c).isEmpty());
        QCOMPARE(sheet.row(), 1);
        QCOMPARE(sheet.col(), 1);
        QCOMPARE(sheet.sheet_name(), u"新規ｼｰﾄ"_s);
        QVERIFY(!sheet.has_content());
        QVERIFY(!sheet.is_saved());
        QCOMPARE(sheet.lower_text(), u"25"_s);
        QCOMPARE(sheet.upper_text(), u"95"_s);
    }

    void new_sheet_roles()
    {
        Sheet sheet;
        sheet.build_new(120);
        QCOMPARE(sheet.score_count(), 2);
        QVERIFY(!sheet.is_score_col(4));
        QVERIFY(sheet.is_score_col(5));
        QVERIFY(sheet.is_score_col(6));
        QVERIFY(!sheet.is_score_col(7));
        QCOMPARE(sheet.total_col(), 7);
        QCOMPARE(sheet.grade_col(), 8);
        QVERIFY(sheet.has_evaluation_layout());
        sheet.insert_columns(7, 2);
        QCOMPARE(sheet.total_col(), 9);
        QCOMPARE(sheet.grade_col(), 10);
        QCOMPARE(sheet.text(0, 9), u"総合点"_s);
        sheet.set_text(0, sheet.grade_col(), u"成績"_s);
        QVERIFY(!sheet.has_evaluation_layout());
    }

    void new_sheet_settings()
    {
        Sheet sheet;
        sheet.build_new(120);
        for (int k = 1; k <= 450; ++k) {
            QCOMPARE(sheet.settings(k).weight, 10.0);
            QCOMPARE(sheet.settings(k).full_marks, 0.0);
            QCOMPARE(sheet.settings(k).full_marks_text, u"不明"_s);
            QVERIFY(!sheet.settings(k).full_marks_given);
        }
        // Slots past the fixed count grow on demand instead of overrunning.
        sheet.set_weight(600, 3);
        QCOMPARE(sheet.settings(600).weight, 3.0);
    }

    // Whatever a save would write marks the sheet unsaved; what it would not
    // write (row numbers, widths, red marks, the cursor, unwritten slots)
    // leaves it saved. Setting a value it already has is no change.
    void saved_flag_follows_changes_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<QString>("signal");
        auto row = [](const char *name, Change change, bool unsaved, const char *signal) {
            QTest::newRow(name) << change << unsaved << QString::fromLatin1(signal);
        };
        row("cell", [](Sheet &s) { s.set_text(3, 5, u"80"_s); }, true, "cell");
        row("title", [](Sheet &s) { s.set_text(0, 5, u"小テ"_s); }, true, "cell");
        row("same text", [](Sheet &s) { s.set_text(0, 5, u"点1"_s); }, false, "");
        row("row number", [](Sheet &s) { s.set_text(3, 0, u" 3"_s); }, false, "cell");
        row("red", [](Sheet &s) { s.set_red(3, 8, true); }, false, "cell");
        row("full marks", [](Sheet &s) { s.set_full_marks(2, 50); }, true, "settings");
        row("weight", [](Sheet &s) { s.set_weight(1, 5); }, true, "settings");
        row("full-marks text only", [](Sheet &s) {
            ScoreSettings k = s.settings(1);
            k.full_marks_text = u"50"_s;
            s.set_settings(1, k);
        }, false, "settings");
        row("slot past the columns", [](Sheet &s) { s.set_weight(3, 5); }, false, "settings");
        row("lower criterion", [](Sheet &s) { s.set_lower_text(u"30"_s); }, true, "document");
        row("upper criterion", [](Sheet &s) { s.set_upper_text(u"90"_s); }, true, "document");
        row("candidate", [](Sheet &s) { s.set_candidate_index(4); }, true, "document");
        row("file name", [](Sheet &s) { s.set_sheet_name(u"a.csv"_s); }, false, "document");
        row("rows", [](Sheet &s) { s.insert_rows(3, 1); }, true, "shape");
        row("row appended", [](Sheet &s) { s.append_row(u" 101"_s); }, true, "shape");
        row("columns", [](Sheet &s) { s.remove_columns(5, 1); }, true, "shape");
        row("width", [](Sheet &s) { s.set_column_width(5, 900); }, false, "shape");
        row("cursor", [](Sheet &s) { s.set_current_cell(4, 4); }, false, "");
    }

    void saved_flag_follows_changes()
    {
        QFETCH(Change, change);
        QFETCH(bool, unsaved);
        QFETCH(QString, signal);
        Sheet sheet;
        sheet.build_new(120);
        sheet.mark_saved();
        QVERIFY(sheet.is_saved());
        QSignalSpy cells(&sheet, &Sheet::cell_changed);
        QSignalSpy shape(&sheet, &Sheet::shape_changed);
        QSignalSpy settings(&sheet, &Sheet::settings_changed);
        QSignalSpy document(&sheet, &Sheet::document_changed);
        change(sheet);
        QCOMPARE(sheet.is_saved(), !unsaved);
        QCOMPARE(cells.count() > 0, signal == u"cell"_s);
        QCOMPARE(shape.count() > 0, signal == u"shape"_s);
        QCOMPARE(settings.count() > 0, signal == u"settings"_s);
        // The saved mark itself is document state.
        QCOMPARE(document.count() > 0, signal == u"document"_s || unsaved);
    }

    void widths_data()
    {
        QTest::addColumn<double>("unit");
        QTest::addColumn<QList<int>>("widths");
        // 4.4 w and 16 w round to the nearest twip, halves to even.
        QTest::newRow("12 point") << 120.0 << QList<int>{600, 360, 360, 528, 1920, 528, 528, 840, 1200};
        QTest::newRow("odd unit") << 97.5 << QList<int>{488, 292, 292, 429, 1560, 429, 429, 682, 975};
        QTest::newRow("halves") << 105.0 << QList<int>{525, 315, 315, 462, 1680, 462, 462, 735, 1050};
    }

    void widths()
    {
        QFETCH(double, unit);
        QFETCH(QList<int>, widths);
        Sheet sheet;
        sheet.build_new(unit);
        for (int c = 0; c < 9; ++c)
            QCOMPARE(sheet.column_width(c), widths[c]);
        // Widths depend on the unit only, not on what the cells hold.
        sheet.set_text(1, 4, u"とても長い名前の生徒さん"_s);
        sheet.apply_standard_widths(unit);
        QCOMPARE(sheet.column_width(4), widths[4]);
    }

    void cursor_collapses_selection()
    {
        Sheet sheet;
        sheet.build_new(120);
        QSignalSpy moved(&sheet, &Sheet::current_cell_changed);
        sheet.set_selection_end(5, 4);
        QCOMPARE(sheet.top_selected_row(), 1);
        QCOMPARE(sheet.bottom_selected_row(), 5);
        sheet.set_current_cell(3, 2);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(sheet.sel_row(), 3);
        QCOMPARE(sheet.sel_col(), 2);
        sheet.set_current_cell(3, 2);
        QCOMPARE(moved.count(), 1);  // no change, no event
        sheet.set_current_cell(500, 50);
        QCOMPARE(sheet.row(), 100);
        QCOMPARE(sheet.col(), 8);
    }

    void out_of_range_is_harmless()
    {
        Sheet sheet;
        sheet.build_new(120);
        QVERIFY(sheet.text(-1, 0).isEmpty());
        QVERIFY(sheet.text(101, 0).isEmpty());
        QVERIFY(sheet.text(0, 9).isEmpty());
        QVERIFY(!sheet.is_red(200, 3));
        QCOMPARE(sheet.column_width(9), 0);
    }

    // A change out of range is a caller's fault, asserted in debug builds;
    // a release build still keeps inside the grid.
    void out_of_range_changes_stay_inside_the_grid()
    {
#ifndef QT_NO_DEBUG
        QSKIP("debug builds assert these preconditions");
#endif
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(200, 3, u"x"_s);
        QCOMPARE(sheet.rows(), 101);
        sheet.set_row_texts(3, 6, {u"a"_s, u"b"_s, u"c"_s, u"d"_s});
        QCOMPARE(sheet.text(3, 8), u"c"_s);
        QCOMPARE(sheet.cols(), 9);
        sheet.set_row_texts(101, 1, {u"x"_s});
        QCOMPARE(sheet.rows(), 101);
        sheet.remove_rows(50, 60);
        QCOMPARE(sheet.rows(), 50);
        sheet.remove_columns(0, 100);
        QCOMPARE(sheet.cols(), 1);
        QCOMPARE(sheet.col(), 0);
    }

    // A view that keeps measures per column hears of the columns that moved
    // and of text changes reported only in bulk.
    void column_moves_and_bulk_changes_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QList<QPoint>>("moves");  // at, count (< 0: removed); (-1, -1): too many
        QTest::addColumn<bool>("bulk");
        auto row = [](const char *name, Change change, QList<QPoint> moves, bool bulk) {
            QTest::newRow(name) << change << moves << bulk;
        };
        row("cell", [](Sheet &s) { s.set_text(3, 5, u"80"_s); }, {}, false);
        row("cell in a batch", [](Sheet &s) { Sheet::Batch b(s); s.set_text(3, 5, u"80"_s); }, {}, true);
        row("title in a batch", [](Sheet &s) { Sheet::Batch b(s); s.set_text(0, 5, u"小テ"_s); }, {}, false);
        row("row texts", [](Sheet &s) { s.set_row_texts(3, 6, {u"a"_s}); }, {}, true);
        row("rows removed", [](Sheet &s) { s.remove_rows(3, 1); }, {}, true);
        row("row appended", [](Sheet &s) { s.append_row(u" 101"_s); }, {}, true);
        row("rows appended", [](Sheet &s) { s.append_rows({QList<Sheet::Cell>(s.cols())}); }, {}, true);
        row("rows in", [](Sheet &s) { s.insert_rows(3, 2); }, {}, false);
        row("more rows", [](Sheet &s) { s.set_rows(120); }, {}, false);
        row("fewer rows", [](Sheet &s) { s.set_rows(50); }, {}, true);
        row("cleared", [](Sheet &s) { s.clear_to_single_cell(); }, {}, true);
        row("rows back on undo", [](Sheet &s) {
            SheetHistory history(s);
            s.remove_rows(3, 1);
            history.close_step();
            s.set_recorder(nullptr);
            const quint64 before = s.text_revision();
            history.undo();
            QVERIFY(s.text_revision() != before);
        }, {}, true);
        row("columns in", [](Sheet &s) { s.insert_columns(5, 2); }, {{5, 2}}, false);
        row("columns out", [](Sheet &s) { s.remove_columns(5, 1); }, {{5, -1}}, false);
        row("fewer columns", [](Sheet &s) { s.set_cols(6); }, {{6, -3}}, false);
        row("more columns", [](Sheet &s) { s.set_cols(11); }, {{9, 2}}, false);
        row("undone", [](Sheet &s) {
            SheetHistory history(s);
            s.set_recorder(&history);
            s.remove_columns(5, 1);
            s.insert_columns(6, 2);
            history.close_step();
            history.undo();
            s.set_recorder(nullptr);
        }, {{5, -1}, {6, 2}, {6, -2}, {5, 1}}, false);
        row("more than are kept", [](Sheet &s) {
            for (int i = 0; i < 40; ++i) {
                s.insert_columns(5, 1);
                s.remove_columns(5, 1);
            }
        }, {{-1, -1}}, false);
    }

    void column_moves_and_bulk_changes()
    {
        QFETCH(Change, change);
        QFETCH(QList<QPoint>, moves);
        QFETCH(bool, bulk);
        Sheet sheet;
        sheet.build_new(120);
        const qint64 seen = sheet.column_move_count();
        const quint64 revision = sheet.text_revision();
        change(sheet);
        QList<QPoint> heard{{-1, -1}};
        if (const auto since = sheet.column_moves_since(seen)) {
            heard.clear();
            for (const Sheet::ColumnMove &move : *since)
                heard.append({move.at, move.count});
        }
        QCOMPARE(heard, moves);
        QCOMPARE(sheet.text_revision() != revision, bulk);
    }

    void row_texts_are_one_change()
    {
        Sheet sheet;
        sheet.build_new(120);
        QSignalSpy cells(&sheet, &Sheet::cell_changed);
        QSignalSpy shape(&sheet, &Sheet::shape_changed);
        sheet.set_row_texts(3, 6, {u"a"_s, u"b"_s, u"c"_s});
        QCOMPARE(sheet.text(3, 6), u"a"_s);
        QCOMPARE(sheet.text(3, 8), u"c"_s);
        QCOMPARE(sheet.cols(), 9);
        QCOMPARE(cells.count(), 0);
        QCOMPARE(shape.count(), 1);
    }

    void append_and_remove_rows()
    {
        Sheet sheet;
        sheet.build_new(120);
        sheet.append_row(numbers::row_number_fixed(101));
        QCOMPARE(sheet.rows(), 102);
        QCOMPARE(sheet.text(101, 0), u" 101"_s);
        QVERIFY(sheet.text(101, 5).isEmpty());
        sheet.set_current_cell(101, 3);
        sheet.remove_rows(50, 52);
        QCOMPARE(sheet.rows(), 50);
        QCOMPARE(sheet.row(), 49);
        QCOMPARE(sheet.sel_row(), 49);
    }
};

QTEST_GUILESS_MAIN(TestSheet)
#include "test_sheet.moc"
