#pragma once

#include "cutloader.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

// A load that keeps the program's windows alive: the file is read on a worker thread while the
// calling (GUI) thread goes on painting. User input waits until the load is over, except Esc,
// which cancels it; a window asked to close meanwhile is closed once the load is over. After half
// a second the progress is reported every tenth of a second.
class ResponsiveLoad : public QObject {
public:
    // Loads into the data set it is given, following and obeying the monitor.
    using Work = std::function<LoadResult(CutDataSet&, LoadMonitor&)>;
    using Progress = std::function<void(int percent)>;

    ResponsiveLoad(Work work, Progress progress);

    // Runs the work into a new data set that replaces `data` only on success: a failed or
    // cancelled load leaves it as it was.
    LoadResult run(CutDataSet& data);
    void cancel() { monitor_.cancelled = true; }
    // Whether progress was reported: the load took longer than half a second.
    bool reported() const { return reported_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void report();
    void closeDeferredWindows();
    void deferWindowClose(QObject* widget);

    Work work_;
    Progress progress_;
    LoadMonitor monitor_;
    QElapsedTimer elapsed_;
    bool reported_ = false;
    // Widgets whose close request arrived during the load.
    std::vector<QPointer<QObject>> deferredCloses_;
};
