#pragma once

#include <QObject>
#include <QString>

#include <functional>

class CurvexProxy;
class QAction;
class QMenu;
class QWidget;

// File > Export Report…, before Save Chart As… and Print: the report of the shown file and view as
// a PDF, the same as `curvex report` writes. The control draws the chart and gives the machining
// times; the program copies no records. The last folder and title are kept in section "Report" of
// the settings file, the data file of that title in section "Report Title": the title is offered
// again for the same file only, another file's name is offered as its title. Hidden with a
// control that has no machining times.
class ReportExport : public QObject {
    Q_OBJECT
public:
    // `shownFile` gives the file the window shows, empty without one.
    ReportExport(QWidget& window, CurvexProxy& viewer, std::function<QString()> shownFile,
                 QMenu& fileMenu, QAction& before);

    QAction& exportReport() const { return *mExportReport; }

    // Writes the report of the current view with `title` to `path`, replacing an older file
    // only once the whole report is written. Empty on success, else why it failed.
    QString writeReport(const QString& path, const QString& title);

private:
    void exportReportTriggered();
    QString writeChosenReport(const QString& path, const QString& title);

    CurvexProxy& mViewer;
    std::function<QString()> mShownFile;
    QAction* mExportReport;
};
