#include "responsiveload.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <thread>
#include <utility>

namespace {

constexpr int kQuietMs = 500;
constexpr int kReportMs = 100;

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

ResponsiveLoad::ResponsiveLoad(Work work, Progress progress)
    : work_(std::move(work)), progress_(std::move(progress)) {}

LoadResult ResponsiveLoad::run(CutDataSet& data) {
    CutDataSet loaded;
    LoadResult result;
    QEventLoop loop;
    elapsed_.start();
    std::thread worker([&] {
        result = work_(loaded, monitor_);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, &ResponsiveLoad::report);
    timer.start(kReportMs);
    QCoreApplication::instance()->installEventFilter(this);
    loop.exec();
    QCoreApplication::instance()->removeEventFilter(this);
    worker.join();
    if (result.ok())
        data = std::move(loaded);
    closeDeferredWindows();
    return result;
}

// The close requests held back during the load reach their windows from the event loop, after
// the caller has taken in the result.
void ResponsiveLoad::closeDeferredWindows() {
    for (const QPointer<QObject>& window : deferredCloses_)
        if (window)
            QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection);
    deferredCloses_.clear();
}

void ResponsiveLoad::deferWindowClose(QObject* widget) {
    if (std::find(deferredCloses_.begin(), deferredCloses_.end(), widget) == deferredCloses_.end())
        deferredCloses_.emplace_back(widget);
}

void ResponsiveLoad::report() {
    if (elapsed_.elapsed() < kQuietMs)
        return;
    reported_ = true;
    progress_(monitor_.permille / 10);
}

bool ResponsiveLoad::eventFilter(QObject* watched, QEvent* event) {
    // A platform window hands its close to its widget, whose own close handling must run to
    // stay consistent; the widget's close event is the one held back.
    if (event->type() == QEvent::Close && watched->isWidgetType()) {
        deferWindowClose(watched);
        event->ignore();
        return true;
    }
    if (!isUserInput(event->type()))
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        cancel();
    return true;
}
