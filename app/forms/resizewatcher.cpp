#include "resizewatcher.h"

#include <QEvent>
#include <QWidget>

#include <utility>

ResizeWatcher::ResizeWatcher(QWidget& watched, std::function<void()> onResize)
    : QObject(&watched), mOnResize(std::move(onResize)) {
    watched.installEventFilter(this);
}

bool ResizeWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize)
        mOnResize();
    return QObject::eventFilter(watched, event);
}
