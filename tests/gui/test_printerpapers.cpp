// The paper list of a real printer: a private CUPS server with a PDF queue,
// started by the test (skipped where CUPS or its PDF driver is absent).
#include "guitest.h"
#include "print/printersettings.h"
#include "sheet/sheetmenus.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString kQueue = u"school_pdf"_s;
const QString kPpd = u"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"_s;
const QString kCupsd = u"/usr/sbin/cupsd"_s;

}  // namespace

class TestPrinterPapers : public GuiTestBase
{
    Q_OBJECT

    QTemporaryDir cups_dir;
    QProcess cupsd;

    QStringList listed()
    {
        auto *settings_window = main->findChild<QDialog *>(object_name::print_settings_window);
        auto *papers = named<QComboBox>(settings_window, object_name::paper_list);
        QStringList items;
        for (int i = 0; i < papers->count(); ++i)
            items += papers->itemText(i);
        return items;
    }

private slots:
    void initTestCase()
    {
        if (!QFile::exists(kCupsd) || !QFile::exists(kPpd) ||
            QStandardPaths::findExecutable(u"lpadmin"_s).isEmpty())
            QSKIP("CUPS with a PDF queue is not available (Debian cups, cups-client, "
                  "printer-driver-cups-pdf): the real printer's paper list is not tested");
        const QString root = cups_dir.path();
        for (const char *sub : {"spool", "cache", "state", "log"})
            QDir(root).mkpath(QString::fromLatin1(sub));
        const QString socket = root + u"/cups.sock"_s;
        QFile conf(root + u"/cupsd.conf"_s);
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("Listen " + socket.toUtf8() + "\nLogLevel warn\n"
                   "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                   "<Location /admin>\nOrder allow,deny\nAllow all\n</Location>\n");
        conf.close();
        QFile files(root + u"/cups-files.conf"_s);
        QVERIFY(files.open(QIODevice::WriteOnly));
        const QByteArray r = root.toUtf8();
        files.write("ServerRoot " + r + "\nRequestRoot " + r + "/spool\nCacheDir " + r +
                    "/cache\nStateDir " + r + "/state\nTempDir " + r + "/spool\nErrorLog " + r +
                    "/log/error_log\nAccessLog " + r + "/log/access_log\n");
        files.close();
        cupsd.start(kCupsd, {u"-f"_s, u"-c"_s, conf.fileName(), u"-s"_s, files.fileName()});
        if (!cupsd.waitForStarted() ||
            !QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000))
            QSKIP("a private CUPS server could not be started here");
        // Only this process talks to the private server.
        qputenv("CUPS_SERVER", socket.toUtf8());
        QProcess lpadmin;
        lpadmin.start(u"lpadmin"_s, {u"-p"_s, kQueue, u"-E"_s, u"-v"_s, u"cups-pdf:/"_s, u"-P"_s, kPpd});
        QVERIFY(lpadmin.waitForFinished(30000));
        if (lpadmin.exitCode() != 0)
            QSKIP(qPrintable(u"the PDF queue could not be added: "_s +
                             QString::fromLocal8Bit(lpadmin.readAllStandardError())));
    }

    void cleanupTestCase()
    {
        if (cupsd.state() != QProcess::NotRunning) {
            cupsd.terminate();
            cupsd.waitForFinished(10000);
        }
    }

    void init()
    {
        start_maximized_session();
        main->printer_settings().set_printer(kQueue);
    }

    void cleanup() { end_session(); }

    // Every paper once, and by a name that says its size.
    void each_paper_once_by_its_size()
    {
        main->active_sheet()->menus()->action(Command::PrintSettings)->trigger();
        const QStringList items = listed();
        QVERIFY(items.size() > 20);
        QCOMPARE(items.count(u"ユーザー定義のサイズ"_s), 0);
        QCOMPARE(QSet<QString>(items.cbegin(), items.cend()).size(), items.size());
        QCOMPARE(items.count(u"レター 8 1/2 x 11 インチ"_s), 1);
        QCOMPARE(items.count(u"封筒 C5 162 x 229 mm"_s), 1);
        QVERIFY(items.contains(u"11x14 11 x 14 インチ"_s));
        QVERIFY(items.contains(u"A4 210 x 297 mm"_s));
        // One entry a size (Super B is 13x19, Tabloid Extra Arch B), RA4 by its name, a size on each.
        for (const QString &item : items)
            QVERIFY2(item.contains(QRegularExpression(u"\\d x [\\d/ .]+ (インチ|mm)$"_s)), qPrintable(item));
        for (const QString &gone : {u"Super B"_s, u"Tabloid Extra"_s, u"ドイツ"_s})
            QVERIFY2(!items.join(u'|').contains(gone), qPrintable(gone));
        QVERIFY(items.contains(u"RA4 215 x 305 mm"_s));
    }

    // Whatever was chosen is there again after a restart; a paper the
    // printer no longer has is said, and the printer's own paper used.
    void remembered_across_a_restart_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("gone");
        QTest::newRow("the driver's own paper") << u"11x14 11 x 14 インチ"_s << false;
        QTest::newRow("a table paper") << u"B5 182 x 257 mm"_s << false;
        QTest::newRow("no longer offered") << u"11x14 11 x 14 インチ"_s << true;
    }

    void remembered_across_a_restart()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, gone);
        QSettings settings(folder->file(u"settings.ini"_s), QSettings::IniFormat);
        QVERIFY(main->printer_settings().remember_in(&settings).isEmpty());
        main->active_sheet()->menus()->action(Command::PrintSettings)->trigger();
        auto *settings_window = main->findChild<QDialog *>(object_name::print_settings_window);
        auto *papers = named<QComboBox>(settings_window, object_name::paper_list);
        papers->setCurrentIndex(papers->findText(chosen));
        named<QAbstractButton>(settings_window, object_name::fit_width_box)->setChecked(true);
        named<QAbstractButton>(settings_window, object_name::print_settings_ok_button)->click();
        settings.sync();
        if (gone)  // as if the driver had dropped it
            settings.setValue(u"print/paper_name"_s, u"Photo 4x6"_s),
                settings.setValue(u"print/paper_points"_s, QSizeF(288, 432));

        PrinterSettings restarted;
        restarted.set_printer(kQueue);
        const QString note = restarted.remember_in(&settings);
        if (gone) {
            const QString said = u"前回選んだ用紙「Photo 4x6 4 x 6 インチ」は、プリンター「school_pdf」にはもうありません。\n"
                                 "用紙は「A4 210 x 297 mm」にしました。印刷設定で選び直せます。"_s;
            QCOMPARE(note, said);
            // The frame says it when it starts.
            prompter->clear();
            settings.setValue(u"print/paper"_s, int(QPageSize::Custom));
            settings.setValue(u"print/paper_name"_s, u"Photo 4x6"_s);
            settings.setValue(u"print/paper_points"_s, QSizeF(288, 432));
            main->restore_place(&settings);
            QTRY_COMPARE(prompter->messages(), QStringList{said});
            return;
        }
        QCOMPARE(note, QString());
        QCOMPARE(PrinterSettings::paper_name(restarted.page_size()), chosen);
        QVERIFY(restarted.fit_width());
    }
};

PONSAITEN_GUI_TEST_MAIN(TestPrinterPapers)
#include "test_printerpapers.moc"
