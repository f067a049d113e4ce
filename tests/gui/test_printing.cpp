// Printing through the real path: with no printer installed the pages go to
// a PDF file, read back with pdftotext.
#include "guitest.h"
#include "sheet.h"
#include "print/pdftextmap.h"
#include "print/printersettings.h"
#include "sheet/sheetmenus.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QFile>
#include <QRadioButton>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolBar>

using namespace Qt::StringLiterals;

class TestPrinting : public GuiTestBase
{
    Q_OBJECT

    SheetWindow *win = nullptr;
    Sheet *sheet = nullptr;

    // The text of each page of a PDF file. pdftotext gives every space as an
    // ASCII one: pdftohtml keeps U+3000, its pages not told apart.
    static QStringList pages_of(const QString &path, bool spaces_kept = false)
    {
        QProcess process;
        process.start(spaces_kept ? u"pdftohtml"_s : u"pdftotext"_s,
                      spaces_kept ? QStringList{u"-xml"_s, u"-i"_s, u"-stdout"_s, path} : QStringList{u"-layout"_s, path, u"-"_s});
        if (!process.waitForFinished(30000))
            return {};
        QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    void class_of(int students)
    {
        sheet->set_rows(qMax(sheet->rows(), students + 1));
        for (int r = 1; r <= students; ++r) {
            sheet->set_text(r, 4, u"生徒"_s + QString::number(r));
            sheet->set_text(r, 5, QString::number(r % 101));
        }
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed: run scripts/setup.sh");
    }

    void init()
    {
        win = start_maximized_session();
        sheet = win->sheet();
    }

    void cleanup() { end_session(); }

    // With one cell selected the whole used range prints; every page has the
    // headings once, every student appears once, and no blank page follows.
    void class_list_to_pdf_data()
    {
        QTest::addColumn<int>("students");
        QTest::addColumn<bool>("many");
        QTest::newRow("one page") << 3 << false;
        QTest::newRow("several pages") << 150 << true;
    }

    void class_list_to_pdf()
    {
        QFETCH(int, students);
        QFETCH(bool, many);
        class_of(students);
        const QString path = folder->file(u"class.pdf"_s);
        prompter->files.enqueue(path);
        main->toolbar_click(u"ｼｰﾄ印刷"_s);
        QCOMPARE(prompter->dialogs.size(), 1);
        const QStringList pages = pages_of(path);
        QCOMPARE(pages.size() > 1, many);
        QString all;
        for (const QString &page : pages) {
            QCOMPARE(page.count(u"氏名"_s), 1);
            QVERIFY(!page.trimmed().isEmpty());
            all += page;
        }
        for (int r = 1; r <= students; ++r)
            QCOMPARE(all.count(QRegularExpression(u"生徒"_s + QString::number(r) + u"(?![0-9])"_s)), 1);
    }

    // Marks print whole, never a part of themselves: their columns widen on
    // paper, and the names and titles still print.
    void marks_print_whole()
    {
        class_of(3);
        sheet->set_text(1, 5, u"12.25"_s);
        sheet->set_text(2, 5, u"127.5"_s);
        sheet->set_text(3, 6, u"152.0"_s);
        const QString path = folder->file(u"marks.pdf"_s);
        prompter->files.enqueue(path);
        main->toolbar_click(u"ｼｰﾄ印刷"_s);
        const QStringList pages = pages_of(path);
        QCOMPARE(pages.size(), 1);
        for (const QString &mark : {u"12.25"_s, u"127.5"_s, u"152.0"_s})
            QVERIFY2(pages.first().contains(QRegularExpression(u"(^|\\s)"_s +
                                                               QRegularExpression::escape(mark) +
                                                               u"(\\s|$)"_s)),
                     qPrintable(pages.first()));
        QVERIFY(pages.first().contains(u"生徒2"_s));
    }

    // Marks too wide for one page across: every page names its students, or
    // 用紙の幅に合わせる prints them smaller on one page, down to half the size.
    void names_on_every_page_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<bool>("one_page");
        QTest::newRow("across pages") << 5000 << false << false;
        QTest::newRow("fitted to the width") << 5000 << true << true;
        QTest::newRow("past half the size") << 6500 << true << false;
    }

    void names_on_every_page()
    {
        QFETCH(int, width);
        QFETCH(bool, fit);
        QFETCH(bool, one_page);
        class_of(3);
        for (int c = 5; c <= 7; ++c)
            sheet->set_column_width(c, width);
        win->menus()->action(Command::PrintSettings)->trigger();
        auto *settings_window = main->findChild<QDialog *>(object_name::print_settings_window);
        named<QAbstractButton>(settings_window, object_name::fit_width_box)->setChecked(fit);
        named<QAbstractButton>(settings_window, object_name::print_settings_ok_button)->click();
        const QString path = folder->file(u"wide.pdf"_s);
        prompter->files.enqueue(path);
        main->toolbar_click(u"ｼｰﾄ印刷"_s);
        const QStringList pages = pages_of(path);
        QCOMPARE(pages.size() == 1, one_page);
        for (const QString &page : pages)
            QVERIFY2(page.contains(u"氏名"_s) && page.contains(u"生徒3"_s), qPrintable(page));
        // Past half the size it says so and prints across pages.
        QCOMPARE(prompter->asked.size(), fit && !one_page ? 1 : 0);
        QCOMPARE(main->printer_settings().fit_width(), fit);
    }

    // Titles wider than their columns print whole on two smaller lines, so
    // that the quizzes can be told apart; one too long keeps its end.
    void titles_print_whole()
    {
        class_of(3);
        sheet->set_text(0, 5, u"小テスト1"_s);
        sheet->set_text(0, 6, u"小テスト2"_s);
        sheet->set_text(0, 4, u"氏名とふりがなとクラスでの呼び名と出席番号と保護者の名前と電話番号"_s);
        const QString path = folder->file(u"titles.pdf"_s);
        prompter->files.enqueue(path);
        main->toolbar_click(u"ｼｰﾄ印刷"_s);
        const QString page = pages_of(path).value(0);
        // Line by line: 「小テ 小テ」, then 「スト1 スト2」 below them.
        QVERIFY2(page.contains(QRegularExpression(u"小テ +小テ\\n.*\\n.*スト1 +スト2"_s)), qPrintable(page));
        QVERIFY2(page.contains(u"…"_s) && page.contains(u"電話番号"_s) && !page.contains(u"氏名と"_s),
                 qPrintable(page));
    }

    // The file's text is what the sheet says, kanji that share their glyph
    // with a radical included, and every page names itself in its footer.
    void names_as_typed_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("new sheet") << QString();
        QTest::newRow("saved sheet") << u"山田学級.ten"_s;
    }

    void names_as_typed()
    {
        QFETCH(QString, file);
        const QStringList names = {
            u"山田"_s, u"田中"_s, u"鈴木"_s, u"佐藤"_s, u"高橋"_s, u"小林"_s, u"中村"_s, u"石川"_s,
            u"大野"_s, u"西村"_s, u"青木"_s, u"木村"_s, u"山口"_s, u"金子"_s, u"松本"_s, u"井上"_s,
            u"林"_s, u"清水"_s, u"山本"_s, u"斎藤"_s, u"石井"_s, u"小川"_s, u"竹内"_s, u"大塚"_s,
            u"長谷川"_s, u"青山"_s, u"川口"_s, u"西田"_s, u"森"_s, u"石田"_s, u"石川　一美"_s};
        sheet->set_rows(121);
        for (int r = 1; r <= 120; ++r) {
            sheet->set_text(r, 4, names[(r - 1) % names.size()] + QString::number(r));
            sheet->set_text(r, 5, r % 7 ? QString::number(r) : u"欠"_s);
        }
        if (!file.isEmpty())
            sheet->set_sheet_name(folder->file(file));
        const QString path = folder->file(u"class.pdf"_s);
        prompter->files.enqueue(path);
        main->toolbar_click(u"ｼｰﾄ印刷"_s);
        QVERIFY(prompter->messages().isEmpty());
        const QStringList pages = pages_of(path);
        QVERIFY(pages.size() > 1);
        QString all;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            QVERIFY(pages[i].contains(u"氏名"_s));
            QVERIFY(pages[i].contains(file.isEmpty() ? u"新規ｼｰﾄ"_s : file));
            QVERIFY(pages[i].contains(QDate::currentDate().toString(u"yyyy年M月d日"_s)));
            QVERIFY(pages[i].contains(QString::number(i + 1) + u" / "_s + QString::number(pages.size())));
            all += pages[i];
        }
        const QString kept = pages_of(path, true).join(QString());
        for (int r = 1; r <= 120; ++r)
            QVERIFY2(kept.contains(names[(r - 1) % names.size()] + QString::number(r)),
                     qPrintable(names[(r - 1) % names.size()]));
        QCOMPARE(all.count(u"欠"_s), 120 / 7);
    }

    // Rows empty in every selected column at the end of the selection are
    // not printed; a selection of nothing but empty rows is said so.
    void empty_rows_at_the_end_data()
    {
        QTest::addColumn<int>("first_row");
        QTest::addColumn<int>("last_row");
        QTest::addColumn<int>("pages");  // 0: refused
        QTest::newRow("30 students in 40 rows") << 1 << 40 << 1;
        QTest::newRow("5 students in 100 rows") << 1 << 100 << 1;
        QTest::newRow("only empty rows") << 31 << 60 << 0;
    }

    void empty_rows_at_the_end()
    {
        QFETCH(int, first_row);
        QFETCH(int, last_row);
        QFETCH(int, pages);
        class_of(last_row == 100 ? 5 : 30);
        // A column a strip: 100 rows would be sixteen pages and a question.
        for (int c = 1; c <= 8; ++c)
            sheet->set_column_width(c, 6000);
        sheet->set_current_cell(first_row, 1);
        sheet->set_selection_end(last_row, 8);
        const QString path = folder->file(u"class.pdf"_s);
        prompter->files.enqueue(path);
        win->menus()->action(Command::Print)->trigger();
        if (pages == 0) {
            QCOMPARE(prompter->messages(),
                     QStringList{u"指定範囲の行はすべて空なので、印刷するものがありません。"_s});
            QVERIFY(!QFile::exists(path));
            return;
        }
        QVERIFY(prompter->asked.isEmpty());
        const QStringList printed = pages_of(path);
        QCOMPARE(printed.size(), 8);  // one page a strip, none of empty rows
        QCOMPARE(printed.join(QString()).count(u"生徒"_s), last_row == 100 ? 5 : 30);
    }

    // The text maps are read in each form a CMap may take; only the entries
    // of radicals that stand for printed ideographs change.
    void text_map_forms_data()
    {
        QTest::addColumn<QByteArray>("entries");
        QTest::addColumn<QByteArray>("expected");  // in the appended map
        QTest::newRow("array") << QByteArray("1 beginbfrange\n<0001> <0003> [<2F25> <0061> <2F26>]\nendbfrange\n")
                               << QByteArray("<0001> <5B50>\n<0002> <0061>\n<0003> <5B80>\n");
        QTest::newRow("consecutive range") << QByteArray("1 beginbfrange\n<0004> <0005> <2F25>\nendbfrange\n")
                                           << QByteArray("<0004> <5B50>\n<0005> <5B80>\n");
        QTest::newRow("single entries") << QByteArray("2 beginbfchar\n<0007> <2F25>\n<0008> <2EBF>\nendbfchar\n")
                                        << QByteArray("<0007> <5B50>\n<0008> <2EBF>\n");
        QTest::newRow("nothing to correct") << QByteArray("1 beginbfchar\n<0007> <0061>\nendbfchar\n")
                                            << QByteArray();
    }

    void text_map_forms()
    {
        QFETCH(QByteArray, entries);
        QFETCH(QByteArray, expected);
        const QByteArray cmap = "begincmap\n" + entries + "endcmap\n";
        const QByteArray pdf = "%PDF-1.4\n1 0 obj\n<< /Type /Font /ToUnicode 2 0 R >>\nendobj\n"
                               "2 0 obj\n<< /Length " + QByteArray::number(cmap.size()) +
                               " >>\nstream\n" + cmap + "\nendstream\nendobj\nxref\n0 3\n"
                               "trailer\n<< /Size 3 /Root 1 0 R >>\nstartxref\n60\n%%EOF\n";
        const QByteArray update = pdftextmap::update_for(pdf, {{0x2F25, 0x5B50}, {0x2F26, 0x5B80}});
        if (expected.isEmpty()) {
            QVERIFY(update.isEmpty());
            return;
        }
        QVERIFY2(update.contains(expected), update.constData());
        QVERIFY(update.startsWith("2 0 obj\n"));
        QVERIFY(update.contains("/Prev 60"));
        // The new xref entry points at the object it adds.
        const qsizetype at = update.indexOf("xref\n2 1\n") + 9;
        QCOMPARE(update.mid(at, 10).toLongLong(), pdf.size());
    }

    // Nothing is printed, and no file asked for, when the range is refused.
    void refused_prints_nothing_data()
    {
        QTest::addColumn<QString>("why");
        QTest::addColumn<QString>("message");
        QTest::newRow("a column too wide") << u"wide"_s << u"列[氏名]の幅がプリンターからはみ出ます。"_s;
        QTest::newRow("the title row alone") << u"title"_s << u"見出しの行だけでは印刷できません。"_s;
    }

    void refused_prints_nothing()
    {
        QFETCH(QString, why);
        QFETCH(QString, message);
        class_of(3);
        if (why == u"wide"_s)
            sheet->set_column_width(4, 200000);
        sheet->set_current_cell(why == u"title"_s ? 0 : 1, 1);
        sheet->set_selection_end(why == u"title"_s ? 0 : 3, 4);
        win->menus()->action(Command::Print)->trigger();
        QCOMPARE(prompter->messages(), QStringList{message});
        QVERIFY(prompter->dialogs.isEmpty());
    }

    // The preview shows the printout's pages, one by one, scaled to the
    // screen; キャンセル stops it at any page.
    void preview_is_the_printout_data()
    {
        QTest::addColumn<bool>("to_the_end");
        QTest::newRow("every page") << true;
        QTest::newRow("stopped after the first") << false;
    }

    void preview_is_the_printout()
    {
        QFETCH(bool, to_the_end);
        class_of(150);
        const QString path = folder->file(u"class.pdf"_s);
        prompter->files.enqueue(path);
        win->menus()->action(Command::Print)->trigger();
        const int printed = int(pages_of(path).size());
        QVERIFY(printed > 1);
        prompter->clear();

        for (int i = 0; i < printed; ++i)
            prompter->answers.enqueue(to_the_end ? Prompter::Answer::Ok : Prompter::Answer::Cancel);
        win->menus()->action(Command::Preview)->trigger();
        QCOMPARE(prompter->messages(),
                 QStringList(to_the_end ? printed : 1, u"次があれば表示します。"_s));
        QCOMPARE(prompter->asked.first().buttons, Prompter::Buttons::OkCancel);
        auto *preview = main->findChild<QWidget *>(object_name::preview_window);
        QVERIFY(preview && preview->isVisible());
        QCOMPARE(preview->windowTitle(), u"[印刷イメージの表示]  評価計算(1)"_s);
        prompter->clear();
    }

    // The preview's question never covers the page: beside the window when
    // the screen has room, else over the window's corner.
    void question_beside_the_preview_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("room on the right") << QRect(0, 0, 700, 1000) << QPoint(708, 0);
        QTest::newRow("room on the left only") << QRect(1200, 50, 700, 1000) << QPoint(892, 50);
        QTest::newRow("no room: the corner") << QRect(0, 0, 1900, 1000) << QPoint(1600, 0);
        QTest::newRow("low window: kept on the screen") << QRect(0, 1000, 700, 200) << QPoint(708, 960);
    }

    void question_beside_the_preview()
    {
        QFETCH(QRect, frame);
        QFETCH(QPoint, at);
        QCOMPARE(Prompter::place_beside(frame, QSize(300, 120), QRect(0, 0, 1920, 1080)), at);
    }

    // Papers are named by their paper code: Qt's names never match the table.
    void paper_names_data()
    {
        QTest::addColumn<QPageSize>("size");
        QTest::addColumn<QString>("name");
        QTest::newRow("A4") << QPageSize(QPageSize::A4) << u"A4 210 x 297 mm"_s;
        QTest::newRow("JIS B4") << QPageSize(QPageSize::JisB4) << u"B4 257 x 364 mm"_s;
        QTest::newRow("A3") << QPageSize(QPageSize::A3) << u"A3 297 x 420 mm"_s;
        QTest::newRow("Letter") << QPageSize(QPageSize::Letter) << u"レター 8 1/2 x 11 インチ"_s;
        QTest::newRow("no code: the driver's name and size") << QPageSize(QPageSize::A6) << u"A6 105 x 148 mm"_s;
        QTest::newRow("code 42 is no size") << QPageSize(QPageSize::B4) << u"B4 250 x 353 mm"_s;
        QTest::newRow("a table name without a size") << QPageSize(QPageSize::ArchC) << u"C サイズ シート 18 x 24 インチ"_s;
        QTest::newRow("the driver's own, in inches")
            << QPageSize(QSizeF(792, 1008), QPageSize::Point, u"11x14"_s, QPageSize::ExactMatch)
            << u"11x14 11 x 14 インチ"_s;
        QTest::newRow("the driver's own, in mm")
            << QPageSize(QSizeF(2437, 3458), QPageSize::Point, u"RA0"_s, QPageSize::ExactMatch)
            << u"RA0 860 x 1220 mm"_s;
    }

    void paper_names()
    {
        QFETCH(QPageSize, size);
        QFETCH(QString, name);
        QCOMPARE(PrinterSettings::paper_name(size), name);
    }

    // A paper and orientation chosen in the print settings window are what the next print uses;
    // キャンセル or the window's close box keeps what was in force before.
    void settings_window_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<QString>("page");  // what pdfinfo reports
        const QString ok = object_name::print_settings_ok_button;
        const QString cancel = object_name::print_settings_cancel_button;
        QTest::newRow("O K") << ok << u"1191 x 842 pts (A3)"_s;
        QTest::newRow("キャンセル") << cancel << u"595 x 842 pts (A4)"_s;
        QTest::newRow("close box") << u"close"_s << u"595 x 842 pts (A4)"_s;
        QTest::newRow("Esc") << u"Esc"_s << u"595 x 842 pts (A4)"_s;
        QTest::newRow("opened again, Esc") << u"again Esc"_s << u"595 x 842 pts (A4)"_s;
        QTest::newRow("opened again, キャンセル") << u"again "_s + cancel << u"595 x 842 pts (A4)"_s;
    }

    void settings_window()
    {
        QFETCH(QString, ending);
        QFETCH(QString, page);
        if (QStandardPaths::findExecutable(u"pdfinfo"_s).isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        class_of(3);
        win->menus()->action(Command::PrintSettings)->trigger();
        auto *settings_window = main->findChild<QDialog *>(object_name::print_settings_window);
        QVERIFY(settings_window && settings_window->isVisible());
        auto *papers = named<QComboBox>(settings_window, object_name::paper_list);
        QCOMPARE(papers->currentText(), u"A4 210 x 297 mm"_s);
        papers->setCurrentIndex(papers->findText(u"A3 297 x 420 mm"_s));
        named<QRadioButton>(settings_window, object_name::landscape_option)->click();
        if (ending.startsWith(u"again "_s)) {
            win->menus()->action(Command::PrintSettings)->trigger();
            QCOMPARE(papers->currentText(), u"A3 297 x 420 mm"_s);
            ending = ending.mid(6);
        }
        if (ending == u"close"_s)
            settings_window->close();
        else if (ending == u"Esc"_s)
            QTest::keyClick(settings_window, Qt::Key_Escape);
        else
            named<QAbstractButton>(settings_window, ending)->click();
        QVERIFY(!settings_window->isVisible());

        const QString path = folder->file(u"class.pdf"_s);
        prompter->files.enqueue(path);
        win->menus()->action(Command::Print)->trigger();
        QProcess info;
        info.start(u"pdfinfo"_s, {path});
        QVERIFY(info.waitForFinished(30000));
        const QString report = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(report.contains(page), qPrintable(report));
    }

    // More than ten pages are asked for first.
    void many_pages_are_asked_for()
    {
        class_of(449);
        sheet->set_current_cell(1, 1);
        sheet->set_selection_end(449, 8);
        sheet->set_column_width(4, 9000);
        prompter->answers.enqueue(Prompter::Answer::No);
        win->menus()->action(Command::Print)->trigger();
        QCOMPARE(prompter->asked.size(), 1);
        QVERIFY(prompter->asked.first().text.endsWith(u" ページを印刷します。よろしいですか？"_s));
        QVERIFY(prompter->dialogs.isEmpty());
    }
};

PONSAITEN_GUI_TEST_MAIN(TestPrinting)
#include "test_printing.moc"
