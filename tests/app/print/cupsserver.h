#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A CUPS server of the tests' own, with its configuration and spool in a temporary folder and
// one cups-pdf queue whose PDF files land in a folder of their own. Clients of this process find
// it through CUPS_SERVER.
class CupsServer {
public:
    CupsServer() = default;
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // False with the reason in `why` when the server or the queue cannot be set up here.
    bool start(QString* why);

    QString queueName() const { return queue_; }
    QString outputFolder() const;
    // Jobs the server has taken, completed or not.
    int jobCount() const;
    // Waits until every job is done and `count` PDF files are in the output folder; the files,
    // oldest first, or empty after the time-out.
    QStringList waitForPdfFiles(int count, int timeoutMs) const;

private:
    QString lpstat(const QStringList& arguments) const;
    QString path(const QString& name) const;

    QTemporaryDir folder_;
    QProcess daemon_;
    QString queue_;
    QString queueConfig_;
};
