#pragma once

#include "recovery.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <chrono>

class QWidget;
class SheetFrame;
class SheetWindow;

// Keeps a copy of every sheet with unsaved changes, every minute and after
// every evaluation, and offers the copies a crashed run left behind.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    // The keeper belongs to the frame's window; its questions are asked over it.
    RecoveryKeeper(SheetFrame &frame, QWidget *window, const QString &folder,
                   std::chrono::milliseconds interval = std::chrono::minutes(1));

    void watch(SheetWindow *sheet);
    // Asks about each copy left by a run that ended without saving.
    void offer();
    void keep_all();
    // The session is ending (logout, shutdown): every unsaved change is
    // copied and the copies are left for the next start.
    void keep_before_exit();

private:
    void keep(SheetWindow *sheet);

    SheetFrame &frame_;
    QWidget *window_;
    RecoveryStore store_;
    QTimer timer_;
    QHash<SheetWindow *, int> ids_;
    QSet<SheetWindow *> changed_;
    int next_id_ = 1;
};
