// The grade-meeting report's lines: which classes count towards all of them,
// and what is left empty or noted when numbers are missing.
#include "gradereport.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "name:total,total;grade,grade" for a class, "name!problem" for a file that
// could not be read.
gradereport::ClassResult class_of(const QString &described)
{
    if (described.contains(u'!'))
        return gradereport::unreadable(described.section(u'!', 0, 0), described.section(u'!', 1));
    const QString name = described.section(u':', 0, 0);
    const QString columns = described.section(u':', 1);
    gradereport::ClassResult result = gradereport::of_columns(
        name, QStringList{u"総合点"_s} + columns.section(u';', 0, 0).split(u','),
        QStringList{u"評価･評定"_s} + columns.section(u';', 1, 1).split(u','));
    // ";A,C/B,B/4,2": result columns, the letters' then 評定's.
    QList<QStringList> cells;
    for (const QString &column : columns.section(u';', 2).split(u'/', Qt::SkipEmptyParts))
        cells.append(QStringList{QString()} + column.split(u','));
    result.viewpoints = viewpoints::distribution(cells);
    result.viewpoint_names = QStringList{u"知"_s, u"思"_s}.mid(0, result.viewpoints.letters.size());
    return result;
}

}  // namespace

class TestGradeReport : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<QStringList>("classes");
        QTest::addColumn<QStringList>("lines");  // fields split by '|'
        // Grade 1 is no result of an evaluation, but a teacher may give it.
        QTest::newRow("grades 1 and 10 count")
            << QStringList{u"1組:81,60;10,1"_s}
            << QStringList{u"1組|2|70.5|10.5|70.5|81|60|1|0|0|0|0|0|0|0|0|1|5.5|"_s,
                           u"全体|2|70.5|10.5|70.5|81|60|1|0|0|0|0|0|0|0|0|1|5.5|"_s};
        QTest::newRow("tab, line end and backslash in a name")
            << QStringList{u"a\tb\nc\r\\d:70;5"_s}
            << QStringList{u"a\\tb\\nc\\r\\\\d|1|70|0|70|70|70|0|0|0|0|1|0|0|0|0|0|5|"_s,
                           u"全体|1|70|0|70|70|70|0|0|0|0|1|0|0|0|0|0|5|"_s};
        QTest::newRow("one class undecided")
            << QStringList{u"1組:70;5"_s, u"2組:50;"_s}
            << QStringList{u"1組|1|70|0|70|70|70|0|0|0|0|1|0|0|0|0|0|5|"_s,
                           u"2組|1|50|0|50|50|50||||||||||||評価未決定"_s,
                           u"全体|2|60|10|60|70|50|0|0|0|0|1|0|0|0|0|0|5|評価は決定済み 1 シート分"_s};
        QTest::newRow("unreadable file left out")
            << QStringList{u"1組:70;5"_s, u"2組.csv!読み込めませんでした"_s}
            << QStringList{u"1組|1|70|0|70|70|70|0|0|0|0|1|0|0|0|0|0|5|"_s,
                           u"2組.csv||||||||||||||||||読み込めません: 読み込めませんでした"_s,
                           u"全体|1|70|0|70|70|70|0|0|0|0|1|0|0|0|0|0|5|"_s};
        QTest::newRow("viewpoints in one class of two")
            << QStringList{u"1組:70,80;5,6;A,C/B,B/4,2"_s, u"2組:60;5"_s}
            << QStringList{u"1組|2|75|5|75|80|70|0|0|0|0|1|1|0|0|0|0|5.5|1|0|1|0|2|0|0|1|0|1|0|3|"_s,
                           u"2組|1|60|0|60|60|60|0|0|0|0|1|0|0|0|0|0|5|||||||||||||"_s,
                           u"全体|3|70|8.16|70|80|60|0|0|0|0|2|1|0|0|0|0|5.33|1|0|1|0|2|0|0|1|0|1|0|3|"_s};
        QTest::newRow("no totals yet")
            << QStringList{u"1組:;"_s}
            << QStringList{u"1組|0|||||||||||||||||評価未決定"_s, u"全体|0|||||||||||||||||評価未決定"_s};
    }

    void lines()
    {
        QFETCH(QStringList, classes);
        QFETCH(QStringList, lines);
        QList<gradereport::ClassResult> results;
        for (const QString &described : classes)
            results.append(class_of(described));
        const gradereport::Report report = gradereport::combine(results);
        QString expected;
        for (const QString &line : lines) {
            QCOMPARE(line.count(u'|') + 1, gradereport::field_titles().size() + (report.viewpoint_names.isEmpty() ? 0 : gradereport::viewpoint_titles(report).size() - 1));
            expected += QString(line).replace(u'|', u'\t') + u'\n';
        }
        QCOMPARE(gradereport::tsv(report), expected);
    }
};

QTEST_GUILESS_MAIN(TestGradeReport)
#include "test_gradereport.moc"
