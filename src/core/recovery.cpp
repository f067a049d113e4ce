#include "recovery.h"

#include "sheetfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

// Names are <owner>-<id>.csv with their <owner>-<id>.info beside them, and
// <owner>.lock held while the owner runs.
QString owner_of(const QString &file_name)
{
    const QString base = file_name.section(u'.', 0, 0);
    return base.left(base.lastIndexOf(u'-'));
}

QString info_path(const QString &sheet_path)
{
    return sheet_path.left(sheet_path.size() - 4) + u".info"_s;
}

}  // namespace

QString RecoveryStore::default_folder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + u"/.local/state"_s;
    return state + u"/ponsaiten/recovery"_s;
}

RecoveryStore::RecoveryStore(const QString &folder) : folder_(folder)
{
    // A process number alone comes back after a restart; with the start time
    // it never names another program's copies, and the count keeps two stores
    // made in the same millisecond apart.
    static std::atomic<int> made = 0;
    owner_ = QString::number(QCoreApplication::applicationPid()) + u'_' +
             QString::number(QDateTime::currentMSecsSinceEpoch()) + u'_' + QString::number(made++);
    if (!QDir().mkpath(folder_))
        return;
    auto lock = std::make_unique<QLockFile>(folder_ + u'/' + owner_ + u".lock"_s);
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        lock_ = std::move(lock);
    remove_stale_locks();
}

void RecoveryStore::remove_stale_locks() const
{
    const QDir dir(folder_);
    QSet<QString> with_copies;
    for (const QString &name : dir.entryList({u"*.csv"_s}, QDir::Files))
        with_copies.insert(owner_of(name));
    for (const QString &name : dir.entryList({u"*.lock"_s}, QDir::Files)) {
        const QString owner = name.chopped(5);
        if (owner == owner_ || with_copies.contains(owner))
            continue;
        // Taken only when its program is gone; unlocking then removes it.
        QLockFile lock(dir.filePath(name));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            lock.unlock();
    }
}

void RecoveryStore::release()
{
    // Unlocking removes the lock file.
    lock_.reset();
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::base(int id) const
{
    return folder_ + u'/' + owner_ + u'-' + QString::number(id);
}

bool RecoveryStore::keep(int id, const QByteArray &sheet_file, const QString &caption,
                         const QString &sheet_name)
{
    if (!usable())
        return false;
    // The copy first: without its description it is still offered.
    if (!sheetfile::write_file(base(id) + u".csv"_s, sheet_file).ok)
        return false;
    return sheetfile::write_file(base(id) + u".info"_s, (caption + u'\n' + sheet_name).toUtf8()).ok;
}

void RecoveryStore::forget(int id)
{
    QFile::remove(base(id) + u".csv"_s);
    QFile::remove(base(id) + u".info"_s);
}

QList<RecoveryStore::Entry> RecoveryStore::orphans() const
{
    QList<Entry> found;
    QSet<QString> alive;
    QSet<QString> gone;
    const QDir dir(folder_);
    for (const QString &name : dir.entryList({u"*.csv"_s}, QDir::Files, QDir::Time | QDir::Reversed)) {
        const QString owner = owner_of(name);
        if (owner == owner_ || alive.contains(owner))
            continue;
        if (!gone.contains(owner)) {
            // Its lock can be taken only when its program is not running.
            QLockFile lock(dir.filePath(owner + u".lock"_s));
            // Only a dead owner makes a lock stale, never its age.
            lock.setStaleLockTime(0);
            if (!lock.tryLock(0)) {
                alive.insert(owner);
                continue;
            }
            gone.insert(owner);
        }
        Entry entry{dir.filePath(name), name, QString()};
        QFile info(info_path(entry.sheet_path));
        if (info.open(QIODevice::ReadOnly)) {
            const QStringList lines = QString::fromUtf8(info.readAll()).split(u'\n');
            entry.caption = lines.value(0);
            entry.sheet_name = lines.value(1);
        }
        found.append(entry);
    }
    return found;
}

void RecoveryStore::discard(const Entry &entry)
{
    QFile::remove(entry.sheet_path);
    QFile::remove(info_path(entry.sheet_path));
}
