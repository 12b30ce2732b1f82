#pragma once

#include "reportsection.h"

#include <QString>
#include <QStringList>

// The head of a report: its title in large type, then one line per fact ("File: /path"). Each
// shows its whole text on its one line (see oneLine).
class ReportHeader : public ReportSection {
public:
    ReportHeader(const QString& title, const QStringList& lines);

    // `text` for one line: each line end (CR LF, CR, LF, U+2028, U+2029) a space, every other
    // control character U+FFFD.
    static QString oneLine(const QString& text);

    double height(QPaintDevice& device, double width) const override;
    bool draw(QPainter& painter, const QRectF& area) const override;

private:
    QString title_;
    QStringList lines_;
};
