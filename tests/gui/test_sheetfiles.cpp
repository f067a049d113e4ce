#include "guitest.h"
#include "app/mainwindow.h"
#include "sheet.h"
#include "sheetfile.h"
#include "sheet/filecommands.h"
#include "sheet/sheetmenus.h"
#include "sheet/sheetwindow.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStringDecoder>
#include <QToolBar>
#include <memory>

using namespace Qt::StringLiterals;
using Outcome = FileCommands::SaveOutcome;

namespace {

QByteArray read_all(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void write_all(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray cp932(const QString &text)
{
    QStringEncoder encoder("Windows-31J");
    return encoder.encode(text);
}

}  // namespace

class TestSheetFiles : public GuiTestBase
{
    Q_OBJECT

    SheetWindow *window = nullptr;

    const QStringList filters = {u"ｶﾝﾏ区切りﾌｧｲﾙ (*.csv)"_s, u"全てのﾌｧｲﾙ (*)"_s};

    QString sample_file()
    {
        const QString path = folder->file(u"2年1組.csv"_s);
        write_all(path, cp932(u"評価計算ｼｰﾄ(K_saiten), 50 , 10 , 20 , 5 ,\r\n"
                              u"30,90,-1 \r\n"
                              u"年,組,NO,氏名,国語,数学,総合点,評価･評定\r\n"
                              u"2,1,1,青木,45,18, 90,9\r\n"
                              u"2,1,2,石田,20,7, 37,2.5\r\n"_s));
        return path;
    }

private slots:
    void init()
    {
        start_session();
        window = main->active_sheet();
    }

    void cleanup() { end_session(); }

    void empty_sheet_asks_before_saving()
    {
        prompter->answers.enqueue(Prompter::Answer::No);
        QCOMPARE(window->file_commands()->save_sheet(), Outcome::Cancelled);
        QCOMPARE(prompter->messages(), QStringList{u"なにも入力していませんが、保存しますか？"_s});
        QCOMPARE(prompter->asked.first().title, u"確認"_s);
        QVERIFY(prompter->dialogs.isEmpty());
    }

    void save_dialog_offers_the_sheet_name()
    {
        window->editor()->setText(u"85"_s);
        const QString path = folder->file(u"新規ｼｰﾄ"_s);
        prompter->files.enqueue(path);
        QCOMPARE(window->file_commands()->save_sheet(), Outcome::Saved);
        QCOMPARE(prompter->dialogs.size(), 1);
        QVERIFY(prompter->dialogs.first().save);
        QCOMPARE(prompter->dialogs.first().default_name, u"新規ｼｰﾄ"_s);
        QCOMPARE(prompter->dialogs.first().filters, filters);
        QVERIFY(QFile::exists(path));  // no extension added
        QCOMPARE(window->sheet()->sheet_name(), path);
        QVERIFY(read_all(path).startsWith(cp932(u"評価計算ｼｰﾄ(K_saiten), 0 , 10 , 0 , 10 ,\r\n25,95,-1 \r\n"_s)));
        QVERIFY(!window->editor()->isHidden());
        QVERIFY(window->editor()->system_text_pending());
    }

    void overwrite_no_then_yes()
    {
        window->editor()->setText(u"85"_s);
        const QString path = folder->file(u"a.csv"_s);
        write_all(path, "old");
        prompter->files.enqueue(path);
        prompter->answers.enqueue(Prompter::Answer::No);
        prompter->files.enqueue(path);
        prompter->answers.enqueue(Prompter::Answer::Yes);
        window->run(Command::SaveSheet);
        QCOMPARE(prompter->dialogs.size(), 2);
        QCOMPARE(prompter->messages(),
                 (QStringList{path + u" はすでに存在します。上書きしますか？"_s,
                              path + u" はすでに存在します。上書きしますか？"_s}));
        QCOMPARE(prompter->asked.first().title, u"確認"_s);
        QVERIFY(read_all(path).startsWith(cp932(u"評価計算ｼｰﾄ"_s)));
    }

    // Ctrl+S and the toolbar's button ask for a name once; after that they
    // write the file at once.
    void save_in_place_asks_a_name_only_once_data()
    {
        QTest::addColumn<Command>("command");
        QTest::newRow("Ctrl+S") << Command::SaveInPlace;
        QTest::newRow("toolbar") << Command::SaveSheet;
    }

    void save_in_place_asks_a_name_only_once()
    {
        QFETCH(Command, command);
        window->editor()->setText(u"85"_s);
        const QString path = folder->file(u"a.csv"_s);
        prompter->files.enqueue(path);
        window->run(command);
        QCOMPARE(prompter->dialogs.size(), 1);
        window->editor()->setText(u"86"_s);
        QVERIFY(!window->sheet()->is_saved());
        window->run(command);
        QCOMPARE(prompter->dialogs.size(), 1);
        QVERIFY(prompter->asked.isEmpty());
        QVERIFY(window->sheet()->is_saved());
        QVERIFY(read_all(path).contains("\r\n86,"));
    }

    void cancelled_save()
    {
        window->editor()->setText(u"85"_s);
        prompter->files.enqueue(std::nullopt);
        window->menus()->action(Command::WriteSheet)->trigger();
        QVERIFY(window->sheet()->sheet_name().isEmpty());
        QVERIFY(!window->sheet()->is_saved());
    }

    void failed_save_is_reported_and_keeps_the_name()
    {
        window->editor()->setText(u"85"_s);
        const QString path = folder->file(u"no/such/folder/a.csv"_s);
        prompter->files.enqueue(path);
        QCOMPARE(window->file_commands()->save_sheet(), Outcome::Failed);
        QCOMPARE(prompter->asked.size(), 1);
        QVERIFY(prompter->asked.first().text.startsWith(path + u" に保存できませんでした。"_s));
        QCOMPARE(window->sheet()->sheet_name(), u"新規ｼｰﾄ"_s);
        QVERIFY(!QFile::exists(path));
    }

    void failed_save_never_loses_the_sheet()
    {
        const QString path = folder->file(u"no/such/folder/a.csv"_s);
        window->editor()->setText(u"85"_s);
        // The File menu does not mark a sheet saved that was not.
        prompter->files.enqueue(path);
        window->menus()->action(Command::WriteSheet)->trigger();
        QVERIFY(!window->sheet()->is_saved());
        // Closing with Yes and a failing save keeps the window open.
        prompter->clear();
        prompter->answers.enqueue(Prompter::Answer::Yes);
        prompter->files.enqueue(path);
        QVERIFY(!window->close_window());
        QCOMPARE(main->sheets().size(), 1);
        QCOMPARE(window->sheet()->text(1, 1), u"85"_s);
        QCOMPARE(prompter->asked.size(), 2);
    }

    void unencodable_text_asks_first()
    {
        window->sheet()->set_text(3, 4, u"山田😀"_s);
        window->editor()->setText(u"85"_s);
        const QString path = folder->file(u"emoji.csv"_s);
        prompter->files.enqueue(path);
        prompter->answers.enqueue(Prompter::Answer::No);
        window->menus()->action(Command::WriteSheet)->trigger();
        QCOMPARE(prompter->asked.size(), 1);
        QVERIFY(prompter->asked.first().text.contains(u"3 行 4 列"_s));
        QVERIFY(prompter->asked.first().text.contains(u"😀"_s));
        QCOMPARE(prompter->asked.first().title, u"確認"_s);
        QVERIFY(!QFile::exists(path));
        QVERIFY(!window->sheet()->is_saved());

        prompter->clear();
        prompter->files.enqueue(path);
        prompter->answers.enqueue(Prompter::Answer::Yes);
        QCOMPARE(window->file_commands()->save_sheet(), Outcome::Saved);
        QVERIFY(read_all(path).contains(cp932(u",山田?,"_s)));
    }

    void read_into_empty_sheet()
    {
        const QString path = sample_file();
        prompter->files.enqueue(path);
        window->menus()->action(Command::ReadSheet)->trigger();
        Sheet *sheet = window->sheet();
        QCOMPARE(prompter->dialogs.first().filters, filters);
        QVERIFY(!prompter->dialogs.first().save);
        QCOMPARE(window->windowTitle(), u"評価計算(1)  "_s + path);
        QCOMPARE(sheet->text(0, 5), u"国語"_s);
        QCOMPARE(sheet->text(2, 4), u"石田"_s);
        QCOMPARE(sheet->text(1, 0), u" 1"_s);
        QCOMPARE(sheet->rows(), 3);
        QCOMPARE(sheet->cols(), 9);
        QCOMPARE(sheet->settings(1).full_marks, 50.0);
        QCOMPARE(sheet->settings(2).weight, 5.0);
        QCOMPARE(sheet->lower_text(), u"30"_s);
        QCOMPARE(sheet->upper_text(), u"90"_s);
        QCOMPARE(sheet->sheet_name(), path);
        QVERIFY(sheet->has_content());
        QVERIFY(sheet->is_red(2, 8));
        QVERIFY(!sheet->is_red(1, 8));
        QCOMPARE(sheet->row(), 1);
        QCOMPARE(sheet->col(), 1);
        QCOMPARE(window->editor()->text(), u"2"_s);
        QVERIFY(!window->editor()->isHidden());
        QVERIFY(prompter->asked.isEmpty());
        // Nothing before the read can be undone; what follows it can.
        QVERIFY(!window->menus()->action(Command::Undo)->isEnabled());
        sheet->set_text(2, 4, u"石井"_s);
        window->run(Command::Undo);
        QCOMPARE(sheet->text(2, 4), u"石田"_s);

        // Saved under another name, the caption names where the marks are now.
        const QString other = QFileInfo(path).dir().filePath(u"別名.csv"_s);
        prompter->files.enqueue(other);
        window->menus()->action(Command::WriteSheet)->trigger();
        QCOMPARE(sheet->sheet_name(), other);
        QCOMPARE(window->windowTitle(), u"評価計算(1)  "_s + other);
    }

    // A file already open in a sheet: opened again only when the teacher
    // says so, otherwise its window comes forward and no empty one is left.
    void file_already_open_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("sheets");
        QTest::newRow("はい: a second sheet") << int(Prompter::Answer::Yes) << 2;
        QTest::newRow("いいえ: the open one") << int(Prompter::Answer::No) << 1;
    }

    void file_already_open()
    {
        QFETCH(int, answer);
        QFETCH(int, sheets);
        const QString path = sample_file();
        prompter->files.enqueue(path);
        window->menus()->action(Command::ReadSheet)->trigger();
        prompter->clear();
        prompter->files.enqueue(QFileInfo(path).dir().filePath(u"./2年1組.csv"_s));
        prompter->answers.enqueue(Prompter::Answer(answer));
        main->toolbar_click(u"ｼｰﾄ呼出"_s);
        QCOMPARE(prompter->asked.size(), 1);
        QVERIFY(prompter->asked.first().text.contains(u"は「評価計算(1)  "_s + path +
                                                      u"」で開いています。"_s));
        QTRY_COMPARE(main->sheets().size(), sheets);
        if (sheets == 1)
            QCOMPARE(main->active_sheet(), window);
    }

    void reading_with_content_opens_a_new_window()
    {
        window->editor()->setText(u"残す"_s);
        const QString path = sample_file();
        prompter->files.enqueue(path);
        main->toolbar_click(u"ｼｰﾄ呼出"_s);
        // The toolbar first made a new sheet: it is empty, so the file goes there.
        QCOMPARE(main->sheets().size(), 2);
        QCOMPARE(main->sheets().last()->windowTitle(), u"評価計算( 2)  "_s + path);
        QCOMPARE(window->sheet()->text(1, 1), u"残す"_s);
        // The menu of a sheet with content hands the file to a new window
        // (the same file a second time, as the teacher confirms).
        prompter->files.enqueue(path);
        prompter->answers.enqueue(Prompter::Answer::Yes);
        window->menus()->action(Command::ReadSheet)->trigger();
        QCOMPARE(main->sheets().size(), 3);
        QCOMPARE(main->sheets().last()->windowTitle(), u"評価計算( 3)  "_s + path);
        QCOMPARE(window->windowTitle(), u"評価計算(1)"_s);
        QCOMPARE(window->sheet()->text(1, 1), u"残す"_s);
        QCOMPARE(window->sheet()->cols(), 9);
        QCOMPARE(main->windowTitle(), u" 3枚のｼｰﾄがあります。"_s);
    }

    // Files named on the command line: each in a window of its own, the first
    // in the empty sheet, a foreign or missing one refused as ｼｰﾄ呼出 refuses
    // it, by name.
    void files_from_the_command_line()
    {
        const QString first = sample_file();
        const QString second = folder->file(u"2年2組.csv"_s);
        QVERIFY(QFile::copy(first, second));
        const QString foreign = folder->file(u"other.csv"_s);
        write_all(foreign, "a,b\r\n");
        const QString missing = folder->file(u"nosuch.csv"_s);
        main->open_files({first, foreign, missing, second});
        QCOMPARE(prompter->messages(),
                 (QStringList{foreign + u"\r\n「ぽん採点」で作成したファイルではありません。"_s,
                              missing + u" を読み込めませんでした。\r\nファイルを開けません: "
                                        u"ファイルまたはフォルダーが見つかりません"_s}));
        QStringList captions;
        for (SheetWindow *each : main->sheets())
            captions.append(each->windowTitle());
        QCOMPARE(captions, (QStringList{u"評価計算(1)  "_s + first, u"評価計算( 2)  "_s + second}));
        QCOMPARE(main->sheets().last()->sheet()->text(2, 4), u"石田"_s);
        QVERIFY(main->sheets().last()->sheet()->is_saved());
    }

    void cancelled_read_closes_the_window()
    {
        main->create_sheet();
        prompter->files.enqueue(std::nullopt);
        main->active_sheet()->run(Command::ReadSheet);
        QCOMPARE(main->sheets().size(), 1);
        QVERIFY(prompter->asked.isEmpty());
        // The toolbar's read, cancelled, leaves the windows as they were.
        prompter->files.enqueue(std::nullopt);
        main->toolbar_click(u"ｼｰﾄ呼出"_s);
        QCOMPARE(main->sheets().size(), 1);
        QCOMPARE(main->windowTitle(), u" 1枚のｼｰﾄがあります。"_s);
    }

    void file_is_refused_and_closes_the_window_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");  // @ stands for the path
        QTest::newRow("foreign") << QByteArray("Name,Score\r\nAoki,45\r\n")
                                 << u"@\r\n「ぽん採点」で作成したファイルではありません。"_s;
        QTest::newRow("missing") << QByteArray()
                                 << u"@ を読み込めませんでした。\r\nファイルを開けません: "
                                    u"ファイルまたはフォルダーが見つかりません"_s;
        QTest::newRow("line 1 too long")
            << cp932(u"評価計算ｼｰﾄ(K_saiten),"_s + QString(u" 1 ,"_s).repeated(887) + u"\r\n25,95,-1 \r\n"_s)
            << u"@ を読み込めませんでした。\r\n1 行目の項目が 887 を超えています。"_s;
    }

    void file_is_refused_and_closes_the_window()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = folder->file(u"other.csv"_s);
        if (!bytes.isNull())
            write_all(path, bytes);
        window->editor()->setText(u"2"_s);  // the first sheet has content
        prompter->files.enqueue(path);
        QTRY_VERIFY(main->toolbar()->isEnabled());
        main->toolbar_click(u"ｼｰﾄ呼出"_s);
        QCOMPARE(prompter->messages(), QStringList{message.replace(u"@"_s, path)});
        QCOMPARE(prompter->asked.first().buttons, Prompter::Buttons::Ok);
        QCOMPARE(main->sheets(), QList<SheetWindow *>{window});
        QCOMPARE(window->sheet()->text(1, 1), u"2"_s);
    }

    void incomplete_read_is_reported()
    {
        const QString path = folder->file(u"long.csv"_s);
        QByteArray bytes = cp932(u"評価計算ｼｰﾄ(K_saiten), 10 , 10 ,\r\n25,95,-1 \r\n年,組,NO,氏名,点1,総合点,評価･評定\r\n1,1,1,A,5,,\r\n"_s);
        bytes += QByteArray(600, ',') + "x\r\n";
        bytes += "2,2,2,B,6,,\r\n";
        write_all(path, bytes);
        prompter->files.enqueue(path);
        window->run(Command::ReadSheet);
        QCOMPARE(prompter->asked.size(), 1);
        QVERIFY(prompter->asked.first().text.startsWith(path + u" を最後まで読み込めませんでした。"_s));
        Sheet *sheet = window->sheet();
        QCOMPARE(sheet->text(1, 4), u"A"_s);
        QCOMPARE(sheet->cols(), 8);
        QVERIFY(sheet->sheet_name() != path);
    }

    void round_trip_through_the_window()
    {
        const QString path = sample_file();
        prompter->files.enqueue(path);
        window->run(Command::ReadSheet);
        const QString copy = folder->file(u"copy.csv"_s);
        prompter->files.enqueue(copy);
        window->menus()->action(Command::WriteSheet)->trigger();
        QCOMPARE(read_all(copy), read_all(path));
    }
};

PONSAITEN_GUI_TEST_MAIN(TestSheetFiles)
#include "test_sheetfiles.moc"
