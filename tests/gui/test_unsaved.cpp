// Every change to what a save writes makes the closing question ask, so a
// teacher cannot lose grades, settings or marks by closing after a save.
#include "guitest.h"
#include "sheet.h"
#include "sheetfile.h"
#include "sheet/sheetmenus.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

QByteArray read_all(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestUnsaved : public GuiTestBase
{
    Q_OBJECT

    SheetWindow *win = nullptr;

    template <class T>
    T *child(const QString &name) const
    {
        return named<T>(win, name);
    }

    void click(const QString &name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }

    // Types into a side box as the teacher does: click in, replace, type.
    void retype(const QString &box_name, const QString &text)
    {
        auto *box = child<QLineEdit>(box_name);
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    void evaluate_and_pick(int k, const QString &ending)
    {
        click(object_name::evaluate_button);
        auto *list = child<QListWidget>(object_name::candidate_list);
        QCOMPARE(list->count(), 32);
        list->scrollToItem(list->item(k));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(k)).center());
        if (ending == object_name::close_button)
            prompter->answers.enqueue(Prompter::Answer::Yes);  // keep the grades
        click(ending);
        QVERIFY(!child<QWidget>(object_name::evaluation_panel)->isVisible());
    }

    void make_change(const QString &change)
    {
        if (change == u"cell"_s) {
            QTest::keyClicks(win->editor(), u"7"_s);
        } else if (change == u"title"_s) {
            retype(object_name::title_box, u"Quiz"_s);
        } else if (change == u"full marks"_s) {
            retype(object_name::full_marks_box, u"50"_s);
        } else if (change == u"weight"_s) {
            retype(object_name::weight_box, u"5"_s);
        } else if (change == u"lower criterion"_s || change == u"upper criterion"_s) {
            click(object_name::evaluate_button);
            child<QScrollBar>(change == u"lower criterion"_s ? object_name::lower_criterion_scroll
                                                             : object_name::upper_criterion_scroll)
                ->triggerAction(QAbstractSlider::SliderSingleStepSub);
            click(object_name::decide_button);
        } else if (change == u"candidate"_s) {
            // Every total is 100, so every candidate gives the same grades.
            evaluate_and_pick(5, object_name::decide_button);
        } else {
            evaluate_and_pick(3, change == u"decide"_s ? object_name::decide_button
                                                    : object_name::close_button);
        }
    }

private slots:
    void init() { win = start_maximized_session(); }

    void cleanup() { end_session(); }

    void change_asks_on_close_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("save");
        // 中止 puts the sheet back as it was: no change to ask about.
        for (const char *change : {"cell", "title", "full marks", "weight", "lower criterion",
                                   "upper criterion", "candidate", "decide", "cross"}) {
            QTest::addRow("%s, no", change) << QString::fromLatin1(change) << false;
            QTest::addRow("%s, yes", change) << QString::fromLatin1(change) << true;
        }
    }

    // Saved through the File menu, changed, closed: the question comes; No
    // leaves the file as it was, Yes writes the change.
    void change_asks_on_close()
    {
        QFETCH(QString, change);
        QFETCH(bool, save);
        Sheet *sheet = win->sheet();
        const bool same_grades = change == u"candidate"_s;
        const QList<int> scores = same_grades ? QList<int>{100, 100, 100} : QList<int>{40, 70, 95};
        for (int r = 1; r <= 3; ++r) {
            sheet->set_text(r, 4, u"生徒"_s + QString::number(r));
            sheet->set_text(r, 5, QString::number(scores[r - 1]));
        }
        QTest::keyClicks(win->editor(), u"2"_s);  // the year, typed
        QVERIFY(sheet->has_content());
        sheet->set_current_cell(2, 5);
        if (same_grades)
            evaluate_and_pick(0, object_name::decide_button);

        const QString path = folder->file(u"組.csv"_s);
        prompter->files.enqueue(path);
        win->menus()->action(Command::WriteSheet)->trigger();
        const QByteArray saved = read_all(path);
        QVERIFY(!saved.isEmpty());
        prompter->clear();

        make_change(change);
        const QByteArray changed = sheetfile::encode(*sheet);
        QVERIFY(changed != saved);
        prompter->clear();

        prompter->answers.enqueue(save ? Prompter::Answer::Yes : Prompter::Answer::No);
        if (save) {
            prompter->files.enqueue(path);
            prompter->answers.enqueue(Prompter::Answer::Yes);  // overwrite
        }
        QVERIFY(win->close_window());
        QVERIFY(!prompter->asked.isEmpty());
        QVERIFY(prompter->asked.first().text.contains(u"を閉じます。"_s));
        QCOMPARE(read_all(path), save ? changed : saved);
    }

    // Reading a file is a save's mirror: closing it right away asks nothing.
    void read_file_closes_without_question()
    {
        const QString path = folder->file(u"a.csv"_s);
        Sheet source;
        source.build_new(120);
        source.set_text(1, 4, u"青木"_s);
        QVERIFY(sheetfile::write_file(path, sheetfile::encode(source)).ok);
        prompter->files.enqueue(path);
        win->run(Command::ReadSheet);
        QCOMPARE(win->sheet()->text(1, 4), u"青木"_s);
        QTest::keyClick(win->editor(), Qt::Key_Down);  // moving is no change
        QVERIFY(win->close_window());
        QVERIFY(prompter->asked.isEmpty());
    }
};

PONSAITEN_GUI_TEST_MAIN(TestUnsaved)
#include "test_unsaved.moc"
