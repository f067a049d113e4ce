// Copies of unsaved sheets: kept by a running program, offered once it is gone.
#include "recovery.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void copies_of_a_dead_program_only()
    {
        QTemporaryDir dir;
        // A program that kept two sheets, forgot one, and was killed.
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            auto *store = new RecoveryStore(dir.path());  // never destroyed, as in a crash
            const bool kept = store->keep(1, "sheet one", u"評価計算(1)  /a.csv"_s, u"/a.csv"_s) &&
                              store->keep(2, "sheet two", u"評価計算( 2)"_s, u"新規ｼｰﾄ"_s) &&
                              store->keep(1, "sheet one, later", u"評価計算(1)  /a.csv"_s, u"/a.csv"_s);
            store->forget(2);
            _exit(kept ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);

        // A running program's copies are its own.
        RecoveryStore running(dir.path());
        QVERIFY(running.usable());
        QVERIFY(running.keep(1, "mine", u"評価計算(1)"_s, QString()));

        RecoveryStore next(dir.path());
        const QList<RecoveryStore::Entry> offered = next.orphans();
        QCOMPARE(offered.size(), 1);
        QCOMPARE(offered.first().caption, u"評価計算(1)  /a.csv"_s);
        QCOMPARE(offered.first().sheet_name, u"/a.csv"_s);
        QFile copy(offered.first().sheet_path);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("sheet one, later"));
        copy.close();

        RecoveryStore::discard(offered.first());
        QVERIFY(next.orphans().isEmpty());
        // What is left is the running program's copy and the two locks.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).filter(u".csv"_s).size(), 1);
    }

    // Ended by a signal (logout): the copies stay for the next start, the lock
    // goes. A killed program's lock goes at the next start when it kept no copy.
    void locks_that_nobody_needs_go()
    {
        QTemporaryDir dir;
        for (const bool with_copy : {true, false}) {
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                auto *store = new RecoveryStore(dir.path());  // never destroyed, as in a crash
                _exit(!with_copy || store->keep(1, "kept", u"c"_s, u"n"_s) ? 0 : 1);
            }
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const QStringList locks{u"*.lock"_s};
        QCOMPARE(QDir(dir.path()).entryList(locks, QDir::Files).size(), 2);

        {
            RecoveryStore ending(dir.path());
            QVERIFY(ending.keep(1, "unsaved", u"評価計算(1)"_s, QString()));
            ending.release();
            QVERIFY(!ending.usable());
            // Only the killed one's with a copy is left.
            QCOMPARE(QDir(dir.path()).entryList(locks, QDir::Files).size(), 1);
        }
        RecoveryStore next(dir.path());
        // Its own and the killed one's with a copy.
        QCOMPARE(QDir(dir.path()).entryList(locks, QDir::Files).size(), 2);
        QCOMPARE(next.orphans().size(), 2);
    }

    void stores_made_together_keep_apart()
    {
        // Some pairs are made within one millisecond, as a fast machine does.
        for (int pair = 0; pair < 20; ++pair) {
            QTemporaryDir dir;
            RecoveryStore first(dir.path());
            RecoveryStore second(dir.path());
            QVERIFY(first.keep(1, "first", u"a"_s, QString()));
            QVERIFY(second.keep(1, "second", u"b"_s, QString()));
            QCOMPARE(QDir(dir.path()).entryList({u"*.csv"_s}, QDir::Files).size(), 2);
        }
    }

    void forgetting_leaves_no_file()
    {
        QTemporaryDir dir;
        RecoveryStore store(dir.path());
        const QStringList copies{u"*.csv"_s, u"*.info"_s};
        QVERIFY(store.keep(1, "sheet", u"評価計算(1)"_s, u"/a.csv"_s));
        QCOMPARE(QDir(dir.path()).entryList(copies, QDir::Files).size(), 2);
        store.forget(1);
        QCOMPARE(QDir(dir.path()).entryList(copies, QDir::Files), QStringList());
    }

    void unusable_folder_keeps_nothing()
    {
        RecoveryStore store(u"/proc/no/such/folder"_s);
        QVERIFY(!store.usable());
        QVERIFY(!store.keep(1, "x", u"c"_s, u"n"_s));
        QVERIFY(store.orphans().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "test_recovery.moc"
