#pragma once

#include <QByteArray>
#include <QList>
#include <QLockFile>
#include <QString>
#include <memory>

// Copies of unsaved sheets kept while the program runs, so that a crash or a
// killed process loses no marks. Each running program owns its copies through
// a lock file; copies whose owner is gone are offered at the next start.
class RecoveryStore
{
public:
    struct Entry {
        QString sheet_path;  // the copy: a sheet file
        QString caption;     // the sheet window's caption when copied
        QString sheet_name;  // the file the sheet belongs to, if any
    };

    // $XDG_STATE_HOME/ponsaiten/recovery, by default under ~/.local/state.
    static QString default_folder();

    explicit RecoveryStore(const QString &folder);
    ~RecoveryStore();

    // False when the folder cannot be made or locked: nothing is kept then.
    bool usable() const { return lock_ != nullptr; }

    // Writes the copy of one sheet (atomically: a crash mid-write leaves the
    // previous copy). id tells this program's sheets apart.
    bool keep(int id, const QByteArray &sheet_file, const QString &caption,
              const QString &sheet_name);
    // The sheet was saved or closed: its copy goes.
    void forget(int id);

    // Copies left by programs that are no longer running.
    QList<Entry> orphans() const;
    // An orphan restored or declined: its files go.
    static void discard(const Entry &entry);

    // The program is ending with its copies on disk: the lock goes, so the
    // next start offers them. Nothing more is kept after this.
    void release();

private:
    QString base(int id) const;
    // Locks left by programs that ended without any copy are of no use.
    void remove_stale_locks() const;

    QString folder_;
    QString owner_;
    std::unique_ptr<QLockFile> lock_;
};
