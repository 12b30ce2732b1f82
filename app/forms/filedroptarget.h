#pragma once

#include <QObject>

class QWidget;

// Lets a whole window take files dragged from a file manager (text/uri-list): the first local
// file of a drop is announced by fileDropped. Children that take drops themselves (the chart)
// keep them.
class FileDropTarget : public QObject {
    Q_OBJECT
public:
    explicit FileDropTarget(QWidget& window);

signals:
    void fileDropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
