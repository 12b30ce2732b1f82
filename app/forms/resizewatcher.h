#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Calls a function after every resize of a widget. The main window lays out its controls in its
// central widget, which also shrinks without the window when a status bar appears.
class ResizeWatcher : public QObject {
    Q_OBJECT
public:
    ResizeWatcher(QWidget& watched, std::function<void()> onResize);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> mOnResize;
};
