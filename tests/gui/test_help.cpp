// The help viewer as the teacher uses it: opened from the help menu, the
// address box, the toolbar, search, and what it refuses to show.
#include "guitest.h"
#include "help/helpviewer.h"
#include "sheet.h"
#include "sheet/sheetmenus.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestHelp : public GuiTestBase
{
    Q_OBJECT

    HelpViewer *viewer = nullptr;
    QList<QUrl> browsed;

    void page(const QString &name, const QString &title, const QString &body)
    {
        QDir().mkpath(folder->file(u"help"_s));
        QFile file(folder->file(u"help/"_s + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((u"<html><head><meta charset=\"utf-8\"><title>"_s + title +
                    u"</title></head><body>"_s + body + u"</body></html>"_s)
                       .toUtf8());
    }

    QString shown() const { return viewer->view()->source().toLocalFile(); }
    QString help_file(const QString &name) const { return folder->file(u"help/"_s + name); }

    void open_from_menu()
    {
        main->active_sheet()->menus()->action(Command::Help)->trigger();
        viewer = &main->help_viewer();
        viewer->set_browser([this](const QUrl &url) { browsed.append(url); });
        QTRY_VERIFY(viewer->isVisible());
    }

    void type_address(const QString &text)
    {
        auto *box = named<QComboBox>(viewer, object_name::help_address_box);
        box->lineEdit()->clear();
        // The keyboard sends to the box, which hands keys on to its line edit.
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

private slots:
    void init()
    {
        start_maximized_session();
        page(u"help.htm"_s, u"ぽん採点のヘルプ"_s,
             u"<p>はじめに</p><a href=\"evaluation.htm\">評価計算</a>"
             u"<a href=\"https://example.com/\">web</a><a href=\"../outside.htm\">out</a>"_s);
        page(u"evaluation.htm"_s, u"評価計算の手順"_s, u"<p>評価計算ボタンを押します。</p>"_s);
        browsed.clear();
        open_from_menu();
    }

    void cleanup() { end_session(); }

    void opens_on_the_start_page()
    {
        QCOMPARE(shown(), help_file(u"help.htm"_s));
        QCOMPARE(viewer->home(), help_file(u"help.htm"_s));
        QCOMPARE(viewer->addresses(), QStringList{help_file(u"help.htm"_s)});
        QTRY_COMPARE(viewer->windowTitle(), u"ぽん採点のヘルプ"_s);
        QCOMPARE(viewer->pos(), QPoint(0, 0));
        QCOMPARE(viewer->size(), QSize(qRound(main->width() * 0.9), qRound(main->height() * 0.9)));
        for (const char *key : {"Back", "Forward", "Refresh", "Home", "Search", "Stop"})
            QVERIFY(named<QToolBar>(viewer, object_name::help_toolbar)->findChild<QAction *>(QLatin1String(key)));
        // The page area runs to the window's edges less the margins, at any size.
        viewer->resize(700, 500);
        QVERIFY(viewer->rect().contains(viewer->view()->geometry()));
        QVERIFY(viewer->view()->width() > 600 && viewer->view()->height() > 300);
    }

    // Enter adds the typed address even when it is listed; the toolbar walks
    // the history; a link follows; closing and opening again starts over.
    void address_box_and_toolbar()
    {
        const QString start = help_file(u"help.htm"_s);
        type_address(u"evaluation.htm"_s);
        QCOMPARE(shown(), help_file(u"evaluation.htm"_s));
        QTRY_COMPARE(viewer->windowTitle(), u"評価計算の手順"_s);
        type_address(u"evaluation.htm"_s);
        QCOMPARE(viewer->addresses(), (QStringList{start, u"evaluation.htm"_s, u"evaluation.htm"_s}));

        viewer->toolbar_action(u"Back"_s);
        QCOMPARE(shown(), start);
        QTRY_COMPARE(viewer->windowTitle(), u"ぽん採点のヘルプ"_s);
        viewer->toolbar_action(u"Forward"_s);
        QCOMPARE(shown(), help_file(u"evaluation.htm"_s));
        viewer->toolbar_action(u"Home"_s);
        QCOMPARE(shown(), start);
        QTRY_VERIFY(!viewer->findChild<QTimer *>(object_name::help_timer)->isActive());
        QCOMPARE(viewer->windowTitle(), u"ぽん採点のヘルプ"_s);
        emit viewer->view()->anchorClicked(QUrl(u"evaluation.htm"_s));
        QCOMPARE(shown(), help_file(u"evaluation.htm"_s));
        QTRY_COMPARE(viewer->windowTitle(), u"評価計算の手順"_s);  // the caption follows the link

        viewer->close();
        QVERIFY(!viewer->isVisible());
        open_from_menu();
        QCOMPARE(shown(), start);
        QCOMPARE(viewer->addresses(), QStringList{start});
        QVERIFY(!viewer->view()->isBackwardAvailable());
    }

    // What is not a help page is never shown: web links go to the browser,
    // files outside the help folder are refused with a message, and a
    // missing page says which.
    void only_help_pages_are_shown_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("browser");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("page_says");
        QTest::newRow("web link") << u"https://example.com/"_s << u"https://example.com/"_s << false
                                  << u"はじめに"_s;
        QTest::newRow("system file") << u"file:///etc/passwd"_s << u""_s << true << u"はじめに"_s;
        QTest::newRow("missing page") << u"nothing.htm"_s << u""_s << false << u"nothing.htm"_s;
    }

    void only_help_pages_are_shown()
    {
        QFETCH(QString, address);
        QFETCH(QString, browser);
        QFETCH(bool, refused);
        QFETCH(QString, page_says);
        type_address(address);
        QCOMPARE(browsed, browser.isEmpty() ? QList<QUrl>{} : QList<QUrl>{QUrl(browser)});
        QCOMPARE(prompter->asked.size(), refused ? 1 : 0);
        QVERIFY(viewer->view()->toPlainText().contains(page_says));
        if (address == u"nothing.htm"_s)
            QTRY_COMPARE(viewer->windowTitle(), u"ページが見つかりません"_s);
        prompter->clear();
    }

    // A missing page points to ホーム, except when the start page itself is
    // the one missing.
    void missing_start_page()
    {
        type_address(u"nothing.htm"_s);
        QVERIFY(viewer->view()->toPlainText().contains(u"「ホーム」"_s));
        viewer->close();
        QVERIFY(QFile::remove(help_file(u"help.htm"_s)));
        open_from_menu();
        const QString text = viewer->view()->toPlainText();
        QVERIFY(text.contains(u"ページが見つかりません"_s));
        QVERIFY(!text.contains(u"「ホーム」"_s));
        QVERIFY(text.contains(u"インストールし直す"_s));
    }

    // The start page's sample link opens a copy of the sample sheet, unnamed,
    // in the empty sheet of the start; the sample file stays as it was.
    void sample_link_opens_a_copy()
    {
        QDir().mkpath(folder->file(u"sample"_s));
        const QString sample = folder->file(u"sample/見本.csv"_s);
        QVERIFY(QFile::copy(QStringLiteral(PONSAITEN_SAMPLE), sample));
        emit viewer->view()->anchorClicked(QUrl(u"../sample/見本.csv"_s));
        QCOMPARE(prompter->asked.size(), 0);
        QCOMPARE(main->sheets().size(), 1);
        const Sheet *sheet = main->sheets().first()->sheet();
        QCOMPARE(sheet->text(1, 4), u"青木 葵"_s);
        QCOMPARE(sheet->text(10, 4), u"佐藤 蓮"_s);
        QCOMPARE(sheet->text(1, sheet->grade_col()), u"7"_s);  // shipped graded
        QCOMPARE(sheet->sheet_name(), Sheet::untitled_name());
        // A second click: another sheet, the first keeps its marks.
        emit viewer->view()->anchorClicked(QUrl(u"../sample/見本.csv"_s));
        QCOMPARE(main->sheets().size(), 2);
        QCOMPARE(shown(), help_file(u"help.htm"_s));
    }

    void search_finds_pages_with_links()
    {
        auto *box = named<QLineEdit>(viewer, object_name::help_search_box);
        viewer->toolbar_action(u"Search"_s);
        QCOMPARE(viewer->view()->source().scheme(), u"search"_s);
        QVERIFY(viewer->view()->toPlainText().contains(u"評価計算の手順"_s));
        box->setText(u"ボタン"_s);
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_COMPARE(viewer->windowTitle(), u"ヘルプの検索"_s);
        const QString text = viewer->view()->toPlainText();
        QVERIFY(text.contains(u"1 件"_s) && text.contains(u"評価計算の手順"_s));
        QVERIFY(!text.contains(u"ぽん採点のヘルプ"_s));
        emit viewer->view()->anchorClicked(QUrl::fromLocalFile(help_file(u"evaluation.htm"_s)));
        QCOMPARE(shown(), help_file(u"evaluation.htm"_s));
        viewer->toolbar_action(u"Back"_s);
        QCOMPARE(viewer->view()->source().scheme(), u"search"_s);
    }
};

PONSAITEN_GUI_TEST_MAIN(TestHelp)
#include "test_help.moc"
