#pragma once

#include "userprompts.h"

#include <QFileDialog>

class ChartSizeField;

// The save-chart dialog: the file dialog with a filter per format (PNG, SVG, PDF) and the chart
// size field below it. The chosen name gets the ending of the chosen filter when it has none of
// the three.
class SaveChartDialog : public QFileDialog {
public:
    explicit SaveChartDialog(const UserPrompts::ChartSaveRequest& request,
                             QWidget* parent = nullptr);

    // The accepted choice.
    UserPrompts::ChartSaveChoice choice() const;

    ChartSizeField& sizeField() { return *mSize; }

    // `fileName` with the ending of `filter` added unless it ends in .png, .svg or .pdf already.
    static QString withEnding(const QString& fileName, const QString& filter);
    // The filters of the dialog, PNG first.
    static QStringList filters();

private:
    ChartSizeField* mSize;
};
