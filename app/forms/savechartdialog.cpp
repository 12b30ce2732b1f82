#include "savechartdialog.h"

#include "chartdocument.h"
#include "chartsizefield.h"

#include <QGridLayout>
#include <QLabel>

namespace {

const QString kPngFilter = QStringLiteral("PNG image (*.png)");
const QString kSvgFilter = QStringLiteral("SVG drawing (*.svg)");
const QString kPdfFilter = QStringLiteral("PDF document (*.pdf)");

QString filterOf(const QString& format) {
    if (format == QLatin1String("svg"))
        return kSvgFilter;
    if (format == QLatin1String("pdf"))
        return kPdfFilter;
    return kPngFilter;
}

// ".svg" of "SVG drawing (*.svg)".
QString endingOf(const QString& filter) {
    const qsizetype star = filter.lastIndexOf(QLatin1Char('*'));
    return filter.mid(star + 1).chopped(1);
}

} // namespace

SaveChartDialog::SaveChartDialog(const UserPrompts::ChartSaveRequest& request, QWidget* parent)
    : QFileDialog(parent, request.title.isEmpty() ? QStringLiteral("Save Chart As") : request.title,
                  request.folder),
      mSize(new ChartSizeField(this)) {
    setObjectName(QStringLiteral("saveChartDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters(filters());
    selectNameFilter(filterOf(request.format));
    selectFile(request.fileName);
    mSize->setChartSize(request.size);
    // The non-native dialog lays its parts out in a grid: the size goes in a row of its own.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QStringLiteral("Size:"), this), row, 0);
        grid->addWidget(mSize, row, 1);
    }
}

UserPrompts::ChartSaveChoice SaveChartDialog::choice() const {
    const QStringList files = selectedFiles();
    const QString file = files.isEmpty() ? QString() : files.first();
    return {withEnding(file, selectedNameFilter()), mSize->chartSize()};
}

QString SaveChartDialog::withEnding(const QString& fileName, const QString& filter) {
    if (fileName.isEmpty() || ChartFormatOf(fileName))
        return fileName;
    return fileName + endingOf(filter);
}

QStringList SaveChartDialog::filters() {
    return {kPngFilter, kSvgFilter, kPdfFilter};
}
