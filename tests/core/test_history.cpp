// Undo and redo, model-checked: random operations of every kind, then undo
// all the way back gives the starting sheet, and redo all the way the final.
#include "cliptext.h"
#include "grading.h"
#include "history.h"
#include "scoring.h"
#include "sheetfile.h"
#include "structure.h"
#include "viewpoints.h"

#include <QRandomGenerator>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::function<void(Sheet &, SheetHistory &)>)

namespace {

// Everything a sheet holds that undo must give back, as comparable text.
QStringList state_of(const Sheet &sheet)
{
    QStringList state{QString::fromLatin1(sheetfile::encode(sheet).toBase64())};
    QString extra;
    for (int c = 0; c < sheet.cols(); ++c)
        extra += QString::number(sheet.column_width(c)) + u',';
    for (int r = 0; r < sheet.rows(); ++r)
        extra += sheet.text(r, 0) + u'|';
    for (int r = 0; r < sheet.rows(); ++r)
        for (int c = 0; c < sheet.cols(); ++c)
            if (sheet.is_red(r, c))
                extra += u"red "_s + QString::number(r) + u':' + QString::number(c);
    for (int k = 0; k < Sheet::kSettingSlots; ++k) {
        const ScoreSettings &s = sheet.settings(k);
        extra += QString::number(s.weight) + u'/' + QString::number(s.full_marks) + u'/' + s.full_marks_text +
                 u';';
    }
    state << extra << sheet.lower_text() << sheet.upper_text()
          << QString::number(sheet.candidate_index())
          << QString::number(sheet.rows()) + u'x' + QString::number(sheet.cols());
    return state;
}

QString random_mark(QRandomGenerator &random)
{
    const QStringList odd{u"欠"_s, u""_s, u"見学"_s, u"８５"_s, u"85点"_s};
    return random.bounded(5) == 0 ? odd[random.bounded(int(odd.size()))]
                                  : QString::number(random.bounded(101));
}

// One random thing a teacher does; returns its name for the failure message.
QString random_operation(Sheet &sheet, QRandomGenerator &random)
{
    const int r = 1 + random.bounded(qMax(sheet.rows() - 1, 1));
    const int c = 1 + random.bounded(qMax(sheet.cols() - 1, 1));
    sheet.set_current_cell(r, c);
    switch (random.bounded(13)) {
    case 0:
    case 1:
        sheet.set_text(r, c, random_mark(random));
        return u"type"_s;
    case 2:
        sheet.set_selection_end(qMin(r + 2, sheet.rows() - 1), qMin(c + 1, sheet.cols() - 1));
        cliptext::delete_contents(sheet);
        return u"clear"_s;
    case 3:
        sheet.set_selection_end(qMin(r + 1, sheet.rows() - 1), c);
        cliptext::cut(sheet);
        return u"cut"_s;
    case 4:
        cliptext::paste(sheet, u"1\t2\t3\r\n4\t5\t6\r\n"_s, 120);
        return u"paste"_s;
    case 5:
        structure::insert_columns(sheet, qMax(c, 5), 1 + random.bounded(3), 120);
        return u"insert columns"_s;
    case 6:
        structure::delete_columns(sheet, c, 1 + random.bounded(2), 1);
        return u"delete columns"_s;
    case 7:
        structure::insert_rows(sheet, r, 1 + random.bounded(3));
        return u"insert rows"_s;
    case 8:
        structure::delete_rows(sheet, r, 1 + random.bounded(2));
        return u"delete rows"_s;
    case 9:
        sheet.set_full_marks(1 + random.bounded(qMax(sheet.score_count(), 1)), random.bounded(120));
        sheet.set_weight(1 + random.bounded(qMax(sheet.score_count(), 1)), random.bounded(20));
        return u"full marks and weight"_s;
    case 10:
        sheet.set_lower_text(QString::number(random.bounded(50)));
        sheet.set_upper_text(QString::number(50 + random.bounded(50)));
        return u"criteria"_s;
    case 11: {
        // Viewpoint grading decided, and a letter typed over.
        ScoreSettings s = sheet.settings(1);
        s.viewpoint = random.bounded(4);
        sheet.set_settings(1 + random.bounded(qMax(sheet.score_count(), 1)), s);
        viewpoints::write_results(sheet, viewpoints::compute(sheet, {.threshold_a = 60.0 + random.bounded(30)}));
        sheet.set_text(r, sheet.first_result_col() + random.bounded(sheet.result_count()), u"B"_s);
        return u"viewpoints"_s;
    }
    default:
        // An evaluation decided: totals, then the grades of a candidate.
        scoring::compute_totals(sheet);
        if (!grading::make_candidates(sheet).isEmpty()) {
            const int k = random.bounded(grading::kCandidates);
            sheet.set_candidate_index(k);
            grading::write_grades(sheet, k);
        }
        return u"evaluation"_s;
    }
}

// What the step tables look at: row 3 from the name to the grade, and the
// width of the first score column.
QString seen(const Sheet &sheet)
{
    QStringList cells;
    for (int c = 4; c <= 8; ++c)
        cells << sheet.text(3, c);
    return cells.join(u'|') + u" w"_s + QString::number(sheet.column_width(5));
}

// Weight and full marks of slots 1 to 6.
QString slots_of(const Sheet &sheet)
{
    QStringList out;
    for (int k = 1; k <= 6; ++k)
        out << QString::number(sheet.settings(k).weight) + u'/' + QString::number(sheet.settings(k).full_marks);
    return out.join(u' ');
}

using Steps = std::function<void(Sheet &, SheetHistory &)>;

}  // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void undo_all_then_redo_all_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u})
            QTest::newRow(qPrintable(u"seed "_s + QString::number(seed))) << seed;
    }

    void undo_all_then_redo_all()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_rows(21);
        for (int row = 1; row < 21; ++row) {
            sheet.set_text(row, 4, u"生徒"_s + QString::number(row));
            sheet.set_text(row, 5, QString::number(row * 4));
        }
        sheet.mark_saved();
        SheetHistory history(sheet);
        const QStringList start = state_of(sheet);

        QList<QStringList> states{start};
        QStringList done;
        for (int i = 0; i < 300; ++i) {
            done.append(random_operation(sheet, random));
            history.close_step();
            // A step per operation that changed something, typing merged.
            if (history.steps() >= states.size())
                states.append(state_of(sheet));
            else
                states.last() = state_of(sheet);
        }
        const QStringList final_state = state_of(sheet);
        QVERIFY(!sheet.is_saved());

        // The cursor lands where a teacher may type: never on the titles or
        // the row numbers.
        const auto on_a_cell = [&] {
            return sheet.rows() < 2 || sheet.cols() < 2 ||
                   (sheet.row() >= 1 && sheet.col() >= 1 && sheet.sel_row() >= 1 &&
                    sheet.sel_col() >= 1);
        };
        // Each undo gives back the state before its step, in order.
        for (qsizetype i = states.size() - 2; i >= 0; --i) {
            QVERIFY(history.can_undo());
            history.undo();
            QVERIFY2(state_of(sheet) == states[i], qPrintable(u"after undoing to state "_s +
                                                              QString::number(i)));
            QVERIFY2(on_a_cell(), qPrintable(u"cursor after undoing to state "_s +
                                             QString::number(i)));
        }
        QVERIFY(!history.can_undo());
        QCOMPARE(state_of(sheet), start);
        QVERIFY(sheet.is_saved());  // back at exactly what was saved

        while (history.can_redo()) {
            history.redo();
            QVERIFY(on_a_cell());
        }
        QCOMPARE(state_of(sheet), final_state);
        QVERIFY(!sheet.is_saved());
    }

    // Redo leaves the cursor where the step did: a fixed-length mark's last
    // key moved on to the next row.
    void redo_leaves_the_cursor_where_typing_did()
    {
        Sheet sheet;
        sheet.build_new(120);
        SheetHistory history(sheet);
        sheet.set_current_cell(3, 5);
        sheet.set_text(3, 5, u"0"_s);
        history.close_step();
        sheet.set_text(3, 5, u"07"_s);
        sheet.set_current_cell(4, 5);
        history.undo();
        history.redo();
        QCOMPARE(std::pair(sheet.row(), sheet.text(3, 5)), std::pair(4, u"07"_s));
    }

    // What one undo takes back. The sheet starts saved; w528 is the standard
    // width of a score column.
    void steps_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("can_undo");
        QTest::addColumn<bool>("can_redo");
        const auto type = [](Sheet &s, SheetHistory &h, int col, const QString &text) {
            s.set_text(3, col, text);
            h.close_step();
        };
        QTest::newRow("typing in one cell is one step") << Steps([=](Sheet &s, SheetHistory &h) {
            type(s, h, 5, u"8"_s);
            type(s, h, 5, u"85"_s);
            h.undo();
        }) << u"|||| w528"_s << true << false << true;
        QTest::newRow("moving away and back starts a new step") << Steps([=](Sheet &s, SheetHistory &h) {
            type(s, h, 5, u"8"_s);
            s.set_current_cell(4, 5);
            s.set_current_cell(3, 5);
            type(s, h, 5, u"85"_s);
            h.undo();
        }) << u"|8||| w528"_s << false << true << true;
        QTest::newRow("a save ends the step") << Steps([=](Sheet &s, SheetHistory &h) {
            type(s, h, 5, u"8"_s);
            s.mark_saved();
            type(s, h, 5, u"85"_s);
            h.undo();
        }) << u"|8||| w528"_s << true << true << true;
        QTest::newRow("a new edit after an undo ends redo") << Steps([=](Sheet &s, SheetHistory &h) {
            type(s, h, 5, u"8"_s);
            h.undo();
            type(s, h, 6, u"7"_s);
            h.redo();
        }) << u"||7|| w528"_s << false << true << false;
        QTest::newRow("the oldest steps go first") << Steps([=](Sheet &s, SheetHistory &h) {
            type(s, h, 5, u"1"_s);
            type(s, h, 6, u"2"_s);
            type(s, h, 7, u"3"_s);
            h.set_memory_limit(h.memory() * 2 / 3);
            h.undo();
            h.undo();
            h.undo();  // the first step is gone
        }) << u"|1||| w528"_s << false << false << true;
        QTest::newRow("a save among the steps that go") << Steps([=](Sheet &s, SheetHistory &h) {
            type(s, h, 5, u"1"_s);
            s.mark_saved();
            type(s, h, 6, u"2"_s);
            type(s, h, 7, u"3"_s);
            h.set_memory_limit(h.memory() * 2 / 3);
            h.undo();
        }) << u"|1|2|| w528"_s << false << true << true;
        QTest::newRow("the newest step always stays") << Steps([=](Sheet &s, SheetHistory &h) {
            type(s, h, 5, u"1"_s);
            type(s, h, 6, u"2"_s);
            h.set_memory_limit(1);
            h.undo();
        }) << u"|1||| w528"_s << false << false << true;
        QTest::newRow("a row of texts") << Steps([](Sheet &s, SheetHistory &h) {
            s.set_row_texts(3, 5, {u"1"_s, u"2"_s, u"3"_s});
            h.close_step();
            h.undo();
        }) << u"|||| w528"_s << true << false << true;
        QTest::newRow("a column width") << Steps([](Sheet &s, SheetHistory &h) {
            s.set_column_width(5, 900);
            h.close_step();
            h.undo();
        }) << u"|||| w528"_s << true << false << true;
    }

    void steps()
    {
        QFETCH(Steps, steps);
        QFETCH(QString, after);
        QFETCH(bool, saved);
        QFETCH(bool, can_undo);
        QFETCH(bool, can_redo);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_current_cell(3, 5);
        sheet.mark_saved();
        SheetHistory history(sheet);
        steps(sheet, history);
        QCOMPARE(seen(sheet), after);
        QCOMPARE(sheet.is_saved(), saved);
        QCOMPARE(history.can_undo(), can_undo);
        QCOMPARE(history.can_redo(), can_redo);
    }

    // Full marks and weights stay with their columns through insertion,
    // removal, undo and redo; new columns get fresh ones.
    void settings_follow_their_columns_data()
    {
        QTest::addColumn<bool>("insert");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("after");
        QTest::newRow("two inserted between") << true << 6 << 2 << u"1/10 10/0 10/0 2/20 3/30 4/40"_s;
        QTest::newRow("one inserted in front") << true << 5 << 1 << u"10/0 1/10 2/20 3/30 4/40 10/0"_s;
        QTest::newRow("one removed") << false << 6 << 1 << u"1/10 3/30 4/40 10/0 10/0 10/0"_s;
        QTest::newRow("two removed in front") << false << 5 << 2 << u"3/30 4/40 10/0 10/0 10/0 10/0"_s;
    }

    void settings_follow_their_columns()
    {
        QFETCH(bool, insert);
        QFETCH(int, at);
        QFETCH(int, count);
        QFETCH(QString, after);
        Sheet sheet;
        sheet.build_new(120);
        sheet.insert_columns(7, 2);
        for (int k = 1; k <= 4; ++k) {
            sheet.set_weight(k, k);
            sheet.set_full_marks(k, 10 * k);
        }
        SheetHistory history(sheet);
        const QString before = slots_of(sheet);
        QCOMPARE(before, u"1/10 2/20 3/30 4/40 10/0 10/0"_s);
        insert ? sheet.insert_columns(at, count) : sheet.remove_columns(at, count);
        history.close_step();
        QCOMPARE(slots_of(sheet), after);
        history.undo();
        QCOMPARE(slots_of(sheet), before);
        history.redo();
        QCOMPARE(slots_of(sheet), after);
    }

    // The grades kept for 中止 leave with removed rows and come back with
    // them, in order, when the removal is undone.
    void follower_keeps_removed_rows()
    {
        Sheet sheet;
        sheet.build_new(120);
        for (int r = 1; r <= 5; ++r)
            sheet.set_text(r, 8, QString::number(r + 3));
        grading::GradeBackup backup;
        backup.save(sheet);
        sheet.set_row_follower(&backup);
        SheetHistory history(sheet);
        sheet.remove_rows(2, 2);
        history.close_step();
        QCOMPARE(backup.slot(2), u"7"_s);
        history.undo();
        QCOMPARE((QStringList{backup.slot(2), backup.slot(3), backup.slot(4)}),
                 (QStringList{u"5"_s, u"6"_s, u"7"_s}));
        sheet.set_row_follower(nullptr);
    }

    // The largest sheet keeps at least 100 steps of nine-column deletions
    // within 50 MB.
    void memory_is_bounded()
    {
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_cols(Sheet::kMaxCols);
        sheet.set_rows(Sheet::kMaxRows);
        for (int r = 1; r < sheet.rows(); ++r)
            for (int c = 5; c < sheet.cols() - 2; ++c)
                sheet.set_text(r, c, QString::number((r + c) % 101));
        SheetHistory history(sheet);
        for (int i = 0; i < 100; ++i) {
            sheet.remove_columns(5, 2);
            history.close_step();
            sheet.insert_columns(5, 2);
            history.close_step();
        }
        QCOMPARE(history.steps(), 200);
        QVERIFY2(history.memory() <= 50 * 1024 * 1024, qPrintable(QString::number(history.memory())));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
