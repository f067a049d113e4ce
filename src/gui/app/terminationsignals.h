#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (logout, shutdown, a closed terminal, Ctrl+C) as a Qt signal in
// the event loop: the handler only writes the signal's number to a socket,
// the one thing that is safe there.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signal_number);

private:
    void read_signal();

    QSocketNotifier *notifier_ = nullptr;
};
