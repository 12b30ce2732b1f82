#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a session that ends, a service manager, Ctrl+C) into the
// signal `terminationRequested` in the event loop, so that the program can close its window and
// save its settings instead of dying on the spot. One instance per process.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // Whether a termination request has come: one that came while a question of the start was
    // open ended that question, and the program must not start its event loop after it.
    bool requested() const { return mRequested; }

signals:
    void terminationRequested();

private:
    void drain();

    QSocketNotifier* mNotifier = nullptr;
    bool mRequested = false;
};
