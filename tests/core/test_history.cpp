// Undo and redo, model-checked: random operations of every kind, then undo
// all the way back gives the starting sheet, and redo all the way the final.
#include "cliptext.h"
#include "grading.h"
#include "history.h"
#include "scoring.h"
#include "sheetfile.h"
#include "structure.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

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
        extra += QString::number(s.omomi) + u'/' + QString::number(s.manten) + u'/' + s.manten_text +
                 u';';
    }
    state << extra << sheet.lower_text() << sheet.upper_text()
          << QString::number(sheet.candidate_index()) << QString::number(sheet.kouho_no())
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
    switch (random.bounded(12)) {
    case 0:
    case 1:
        sheet.set_text(r, c, random_mark(random));
        return u"type"_s;
    case 2:
        sheet.set_selection_end(qMin(r + 2, sheet.rows() - 1), qMin(c + 1, sheet.cols() - 1));
        cliptext::del_moji(sheet);
        return u"clear"_s;
    case 3:
        sheet.set_selection_end(qMin(r + 1, sheet.rows() - 1), c);
        cliptext::cut(sheet);
        return u"cut"_s;
    case 4:
        cliptext::past(sheet, u"1\t2\t3\r\n4\t5\t6\r\n"_s, 120);
        return u"paste"_s;
    case 5:
        structure::insert_retu(sheet, qMax(c, 5), 1 + random.bounded(3), 120);
        return u"insert columns"_s;
    case 6:
        structure::del_retu(sheet, c, 1 + random.bounded(2), 1);
        return u"delete columns"_s;
    case 7:
        structure::insert_gyou(sheet, r, 1 + random.bounded(3));
        return u"insert rows"_s;
    case 8:
        structure::del_gyou(sheet, r, 1 + random.bounded(2));
        return u"delete rows"_s;
    case 9:
        sheet.set_full_marks(1 + random.bounded(qMax(sheet.score_count(), 1)), random.bounded(120));
        sheet.set_weight(1 + random.bounded(qMax(sheet.score_count(), 1)), random.bounded(20));
        return u"full marks and weight"_s;
    case 10:
        sheet.set_lower_text(QString::number(random.bounded(50)));
        sheet.set_upper_text(QString::number(50 + random.bounded(50)));
        return u"criteria"_s;
    default:
        // An evaluation decided: totals, then the grades of a candidate.
        scoring::calc_sougouten(sheet);
        if (!grading::mk_kouho(sheet).isEmpty()) {
            const int k = random.bounded(grading::kCandidates);
            sheet.set_candidate_index(k);
            grading::set_hyouka(sheet, k);
        }
        return u"evaluation"_s;
    }
}

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
        QVERIFY(!sheet.saved_flg());

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
        QVERIFY(sheet.saved_flg());  // back at exactly what was saved

        while (history.can_redo()) {
            history.redo();
            QVERIFY(on_a_cell());
        }
        QCOMPARE(state_of(sheet), final_state);
        QVERIFY(!sheet.saved_flg());
    }

    // The largest sheet keeps at least 100 steps of nine-column deletions
    // within 50 MB; past the bound the oldest steps go first.
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
        history.set_memory_limit(history.memory() / 2);
        QVERIFY(history.steps() < 200 && history.steps() > 1);
        history.undo();  // the newest steps are the ones kept
        QCOMPARE(sheet.cols(), Sheet::kMaxCols - 2);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
