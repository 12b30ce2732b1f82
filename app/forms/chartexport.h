#pragma once

#include "picturewriter.h"

#include <QByteArray>
#include <QSize>
#include <QString>

class CurvexProxy;

// The chart for reports: saved as PNG, SVG or PDF, or copied to the clipboard, always drawn by
// the control from the chart as shown (range, quantity, axis, colours, titles) without the
// selection band or read-out marks. The last folder and format are kept in section
// "Chart Export" of the settings file.
class ChartExport {
public:
    explicit ChartExport(CurvexProxy& viewer);

    // Asks for the file, its type and the size (the chart's own at first) and writes it.
    // `shownFile` names the suggested file.
    void saveChartAs(const QString& shownFile);
    // Puts the chart at its own size on the clipboard as an image and as SVG.
    void copyChart();

    // Writes the chart at `size` to `path` in the format of its ending, replacing an older file
    // only once the whole chart is written. Empty on success, else why it failed: the control
    // cannot draw the chart, or the system's reason the file cannot be written.
    QString writeChart(const QString& path, QSize size);

private:
    QSize chartSize();
    PictureWriter picture(QSize size);

    CurvexProxy& mViewer;
};
