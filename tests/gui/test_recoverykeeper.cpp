// The recovery keeper through the frame it asks: copies of unsaved sheets kept
// on time and forgotten on save and close, and what a run left offered at the
// next start.
#include "app/recoverykeeper.h"
#include "app/sheetframe.h"
#include "guitest.h"
#include "history.h"
#include "print/previewwindow.h"
#include "sheet/undocommands.h"
#include "structure/countdialog.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Loose sheet windows, without a main window: the frame is also their host.
class FakeFrame : public SheetFrame, public SheetHost
{
public:
    explicit FakeFrame(Prompter &prompter)
        : prompter_(prompter), count_dialog_(prompter, nullptr), preview_(nullptr)
    {
    }
    ~FakeFrame() override
    {
        for (SheetWindow *sheet : std::as_const(sheets_))
            sheet->set_never_prompt();
        qDeleteAll(sheets_);
    }

    // Watches every sheet made from then on, as the main window does.
    RecoveryKeeper *keeper = nullptr;

    Prompter &prompter() const override { return prompter_; }
    QList<SheetWindow *> sheets() const override { return sheets_; }
    SheetWindow *empty_start_sheet() const override
    {
        if (sheets_.size() == 1 && !sheets_.first()->sheet()->has_content())
            return sheets_.first();
        return nullptr;
    }
    SheetWindow *create_sheet() override
    {
        auto *sheet = new SheetWindow(*this, int(sheets_.size()) + 1, sheets_.isEmpty());
        sheets_.append(sheet);
        if (keeper)
            keeper->watch(sheet);
        QObject::connect(sheet, &SheetWindow::closed, [this](SheetWindow *closed) {
            sheets_.removeOne(closed);
            closed->deleteLater();
        });
        return sheet;
    }

    bool is_active(const SheetWindow *) const override { return false; }
    bool frame_minimized() const override { return false; }
    bool go_to_open_copy(const SheetWindow *, const QString &) override { return false; }
    CountDialog &count_dialog() override { return count_dialog_; }
    PreviewWindow &preview_window() override { return preview_; }
    PrinterSettings &printer_settings() override { return printer_settings_; }

private:
    Prompter &prompter_;
    CountDialog count_dialog_;
    PreviewWindow preview_;
    PrinterSettings printer_settings_;
    QList<SheetWindow *> sheets_;
};

// The copies of sheets in the keeper's folder.
qsizetype copies_in(const QString &folder)
{
    return QDir(folder).entryList({u"*.csv"_s}, QDir::Files).size();
}

// As the editor does when the teacher types.
void type_name(SheetWindow *sheet, const QString &name)
{
    sheet->sheet()->set_text(1, 4, name);
    sheet->sheet()->set_has_content();
}

enum class Then { Nothing, Save, Close, SaveAndTypeAgain };

}  // namespace

class TestRecoveryKeeper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { set_program_font(); }

    void keeps_copies_of_unsaved_sheets_data()
    {
        QTest::addColumn<Then>("then");
        QTest::addColumn<qsizetype>("copies");
        QTest::newRow("kept while unsaved") << Then::Nothing << qsizetype(1);
        QTest::newRow("forgotten on save") << Then::Save << qsizetype(0);
        QTest::newRow("forgotten on close") << Then::Close << qsizetype(0);
        QTest::newRow("kept again after the next change") << Then::SaveAndTypeAgain << qsizetype(1);
    }

    void keeps_copies_of_unsaved_sheets()
    {
        QFETCH(Then, then);
        QFETCH(qsizetype, copies);
        QTemporaryDir folder;
        ScriptedPrompter prompter;
        FakeFrame frame(prompter);
        QWidget window;
        frame.keeper = new RecoveryKeeper(frame, &window, folder.path(), 20ms);
        SheetWindow *sheet = frame.create_sheet();
        QCOMPARE(copies_in(folder.path()), 0);

        type_name(sheet, u"青木"_s);
        QTRY_COMPARE(copies_in(folder.path()), 1);

        switch (then) {
        case Then::Nothing:
            break;
        case Then::Save:
            sheet->sheet()->mark_saved();
            break;
        case Then::Close:
            sheet->set_never_prompt();
            QVERIFY(sheet->close_window());
            break;
        case Then::SaveAndTypeAgain:
            sheet->sheet()->mark_saved();
            QCOMPARE(copies_in(folder.path()), 0);
            type_name(sheet, u"石井"_s);
            break;
        }
        if (copies > 0) {
            QTRY_COMPARE(copies_in(folder.path()), copies);
        } else {
            // Several intervals: a copy that was to come would have come by now.
            QTest::qWait(150);
            QCOMPARE(copies_in(folder.path()), copies);
        }
        QVERIFY(prompter.asked.isEmpty());
    }

    void offers_what_a_run_left_data()
    {
        QTest::addColumn<bool>("start_sheet_used");
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::addColumn<int>("restored_into");  // sheet number, 0 for none
        QTest::newRow("into the empty start sheet") << false << Prompter::Answer::Yes << 1;
        QTest::newRow("into a new sheet") << true << Prompter::Answer::Yes << 2;
        QTest::newRow("declined") << false << Prompter::Answer::No << 0;
    }

    void offers_what_a_run_left()
    {
        QFETCH(bool, start_sheet_used);
        QFETCH(Prompter::Answer, answer);
        QFETCH(int, restored_into);
        QTemporaryDir folder;
        ScriptedPrompter prompter;
        QWidget window;

        {
            // A run that ended with a sheet unsaved.
            FakeFrame earlier(prompter);
            RecoveryKeeper keeper(earlier, &window, folder.path());
            earlier.keeper = &keeper;
            SheetWindow *sheet = earlier.create_sheet();
            type_name(sheet, u"青木"_s);
            QTRY_COMPARE(sheet->undo_commands()->history()->steps(), 1);
            keeper.keep_before_exit();
        }
        QCOMPARE(copies_in(folder.path()), 1);

        FakeFrame frame(prompter);
        RecoveryKeeper keeper(frame, &window, folder.path());
        frame.keeper = &keeper;
        SheetWindow *start = frame.create_sheet();
        if (start_sheet_used)
            type_name(start, u"別の生徒"_s);
        prompter.answers.enqueue(answer);
        keeper.offer();

        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked.first().text.startsWith(u"保存されないまま終わったシート"_s));
        QCOMPARE(frame.sheets().size(), qMax(1, restored_into));
        for (SheetWindow *sheet : frame.sheets()) {
            const QString name = sheet->sheet()->text(1, 4);
            QCOMPARE(name == u"青木"_s, sheet->number() == restored_into);
        }
        // A declined copy is gone; a restored one is kept again under this run.
        QCOMPARE(copies_in(folder.path()), restored_into ? 1 : 0);
        QVERIFY(prompter.unexpected.isEmpty());
    }
};

PONSAITEN_GUI_TEST_MAIN(TestRecoveryKeeper)
#include "test_recoverykeeper.moc"
