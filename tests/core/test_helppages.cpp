// Where the help is found, which addresses the viewer may show, and search.
#include "helppages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestHelpPages : public QObject
{
    Q_OBJECT

    QTemporaryDir root;

    void write(const QString &path, const QString &html)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(html.toUtf8());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root.isValid());
        const QString help = root.path() + u"/installed/help/"_s;
        write(help + u"help.htm"_s, u"<html><head><title>ぽん採点のヘルプ</title></head>"
                                    u"<body><p>最初のページです。</p></body></html>"_s);
        write(help + u"evaluation.htm"_s,
              u"<html><head><title>評価計算</title><style>p { color: red }</style></head>"
              u"<body><h1>評価計算</h1><p>評価計算ボタンを押すと評価計算の画面が開きます。"
              u"&lt;決定&gt; で確定します。</p></body></html>"_s);
        write(help + u"files.htm"_s, u"<html><head><title>ファイル</title></head>"
                                     u"<body><p>シートを保存します。CSV です。評価計算の前に。</p></body></html>"_s);
        write(root.path() + u"/own/help/help.htm"_s, u"<title>own</title>"_s);
        write(root.path() + u"/secret.htm"_s, u"<title>secret</title>"_s);
        QFile::link(root.path() + u"/secret.htm"_s, help + u"link.htm"_s);
    }

    void start_page_data()
    {
        QTest::addColumn<QString>("start_dir");
        QTest::addColumn<QString>("expected");
        const QString r = root.path();
        QTest::newRow("own help") << r + u"/own"_s << r + u"/own/help/help.htm"_s;
        QTest::newRow("trailing separator, spaces") << u"  "_s + r + u"/own/ "_s
                                                    << r + u"/own/help/help.htm"_s;
        QTest::newRow("none there: installed") << r << r + u"/installed/help/help.htm"_s;
        QTest::newRow("root keeps one separator") << u"/"_s << r + u"/installed/help/help.htm"_s;
    }

    void start_page()
    {
        QFETCH(QString, start_dir);
        QFETCH(QString, expected);
        const QStringList installed = {root.path() + u"/nowhere"_s, root.path() + u"/installed/help"_s};
        QCOMPARE(help::start_page(start_dir, installed), expected);
        QCOMPARE(help::folder_in(u"/"_s), u"/help/"_s);
        QCOMPARE(help::folder_in(u"/home/t/"_s), u"/home/t/help/"_s);
        // With nothing installed anywhere the start folder's page is named, to say it is missing.
        QCOMPARE(help::start_page(u"/nowhere/"_s, {}), u"/nowhere/help/help.htm"_s);
    }

    void destination_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("expected");
        const auto page = int(help::Destination::Page);
        const auto refused = int(help::Destination::Refused);
        QTest::newRow("relative page") << u"evaluation.htm"_s << page;
        QTest::newRow("page with anchor") << u"evaluation.htm#step2"_s << page;
        QTest::newRow("missing page inside") << u"nothing.htm"_s << page;
        QTest::newRow("absolute inside") << root.path() + u"/installed/help/files.htm"_s << page;
        QTest::newRow("climbs out") << u"../../secret.htm"_s << refused;
        QTest::newRow("link leads out") << u"link.htm"_s << refused;
        QTest::newRow("system file") << u"file:///etc/passwd"_s << refused;
        QTest::newRow("folder beside") << root.path() + u"/installed/help2/x.htm"_s << refused;
        QTest::newRow("ftp") << u"ftp://example.com/a.htm"_s << refused;
        QTest::newRow("web") << u"https://example.com/"_s << int(help::Destination::Web);
        QTest::newRow("search") << u"search:評価"_s << int(help::Destination::Search);
        // The sample sheets beside the help, and nothing else of that folder.
        const auto sample = int(help::Destination::Sample);
        QTest::newRow("sample") << u"../sample/見本.csv"_s << sample;
        QTest::newRow("sample, absolute") << root.path() + u"/installed/sample/a.CSV"_s << sample;
        QTest::newRow("sample folder, not a sheet") << u"../sample/notes.htm"_s << refused;
        QTest::newRow("below the sample folder") << u"../sample/x/a.csv"_s << refused;
        QTest::newRow("a sheet elsewhere") << u"../other/a.csv"_s << refused;
    }

    void destination()
    {
        QFETCH(QString, address);
        QFETCH(int, expected);
        const QString folder = root.path() + u"/installed/help"_s;
        QCOMPARE(int(help::destination(help::address_to_url(address, folder), folder)), expected);
    }

    void search_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("most mentions first") << u"評価計算"_s << QStringList{u"評価計算"_s, u"ファイル"_s};
        QTest::newRow("half-width katakana") << u"ｼｰﾄ"_s << QStringList{u"ファイル"_s};
        QTest::newRow("letter case") << u"csv"_s << QStringList{u"ファイル"_s};
        QTest::newRow("entities read as text") << u"<決定>"_s << QStringList{u"評価計算"_s};
        QTest::newRow("style is not text") << u"color"_s << QStringList{};
        QTest::newRow("empty lists every page inside")
            << u""_s << QStringList{u"評価計算"_s, u"ファイル"_s, u"ぽん採点のヘルプ"_s};
    }

    void search()
    {
        QFETCH(QString, word);
        QFETCH(QStringList, titles);
        const QList<help::Hit> hits = help::search(root.path() + u"/installed/help"_s, word);
        QStringList found;
        for (const help::Hit &hit : hits)
            found.append(hit.title);
        QCOMPARE(found, titles);
        const QString page = help::search_page(word, hits);
        for (const help::Hit &hit : hits) {
            QVERIFY(page.contains(QUrl::fromLocalFile(hit.file).toString(QUrl::FullyEncoded)));
            if (!word.isEmpty())
                QVERIFY(hit.excerpt.contains(word.normalized(QString::NormalizationForm_KC),
                                             Qt::CaseInsensitive));
        }
        if (titles.isEmpty())
            QVERIFY(page.contains(u"ありませんでした"_s));
    }
};

QTEST_GUILESS_MAIN(TestHelpPages)
#include "test_helppages.moc"
