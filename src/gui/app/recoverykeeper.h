#pragma once

#include "recovery.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

class MainWindow;
class SheetWindow;

// Keeps a copy of every sheet with unsaved changes, every minute and after
// every evaluation, and offers the copies a crashed run left behind.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    RecoveryKeeper(MainWindow *frame, const QString &folder);

    void watch(SheetWindow *sheet);
    // Asks about each copy left by a run that ended without saving.
    void offer();
    void keep_all();
    // The session is ending (logout, shutdown): every unsaved change is
    // copied and the copies are left for the next start.
    void keep_before_exit();
    void set_interval(int ms) { timer_.setInterval(ms); }

private:
    void keep(SheetWindow *sheet);

    MainWindow *frame_;
    RecoveryStore store_;
    QTimer timer_;
    QHash<SheetWindow *, int> ids_;
    QSet<SheetWindow *> changed_;
    int next_id_ = 1;
};
