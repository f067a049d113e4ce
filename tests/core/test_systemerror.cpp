// System error texts: the ones the file tests cannot bring about, and any
// other text kept as it is.
#include "systemerror.h"

#include <QTest>
#include <cerrno>

using namespace Qt::StringLiterals;

class TestSystemError : public QObject
{
    Q_OBJECT

private slots:
    void in_japanese_data()
    {
        QTest::addColumn<QString>("system_text");
        QTest::addColumn<QString>("japanese");
        // Tests run as root never see this one from a real file.
        QTest::newRow("no permission, Qt's words")
            << qt_error_string(EACCES) << u"アクセスする権限がありません"_s;
        QTest::newRow("any other text") << u"Stale file handle on the server"_s
                                        << u"Stale file handle on the server"_s;
    }

    void in_japanese()
    {
        QFETCH(QString, system_text);
        QFETCH(QString, japanese);
        QCOMPARE(systemerror::in_japanese(system_text), japanese);
    }
};

QTEST_GUILESS_MAIN(TestSystemError)
#include "test_systemerror.moc"
