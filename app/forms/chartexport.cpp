#include "chartexport.h"

#include "curvexproxy.h"
#include "picturesave.h"
#include "surfaceregistry.h"
#include "userprompts.h"
#include "varnutl.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace {

const QString kSection = QStringLiteral("Chart Export");
const QString kFolderKey = QStringLiteral("Folder");
const QString kFormatKey = QStringLiteral("Format");
const QString kSvgMime = QStringLiteral("image/svg+xml");

// The chart at `size` drawn by the control onto `device` from its top-left corner.
bool drawOn(CurvexProxy& viewer, QPaintDevice& device, QSize size) {
    const component::SurfaceRegistry::Entry surface(&device);
    return viewer.drawChart(surface.handle(), size, QRect(QPoint(0, 0), size)).value_or(false);
}

UserPrompts::ChartSaveRequest saveRequest(const QString& shownFile, QSize size) {
    UserPrompts::ChartSaveRequest request;
    request.format = ReadIniValue(kSection, kFormatKey);
    if (!ChartFormatOf(QLatin1Char('.') + request.format))
        request.format = QStringLiteral("png");
    request.folder = ReadIniValue(kSection, kFolderKey);
    if (request.folder.isEmpty() && !shownFile.isEmpty())
        request.folder = QFileInfo(shownFile).absolutePath();
    const QString base =
        shownFile.isEmpty() ? QStringLiteral("chart") : QFileInfo(shownFile).completeBaseName();
    request.fileName = base + QLatin1Char('.') + request.format;
    request.size = size;
    return request;
}

void rememberChoice(const QString& path) {
    const QFileInfo file(path);
    WriteIniValue(kSection, kFolderKey, file.absolutePath());
    WriteIniValue(kSection, kFormatKey, file.suffix().toLower());
}

} // namespace

ChartExport::ChartExport(CurvexProxy& viewer) : mViewer(viewer) {}

QSize ChartExport::chartSize() {
    std::int16_t width = 0;
    std::int16_t height = 0;
    mViewer.getBmpSize(width, height);
    return {width, height};
}

void ChartExport::saveChartAs(const QString& shownFile) {
    const auto choice = prompts().saveChart(saveRequest(shownFile, chartSize()));
    if (!choice || choice->path.isEmpty())
        return;
    if (savePicture(picture(choice->size), choice->path))
        rememberChoice(choice->path);
}

QString ChartExport::writeChart(const QString& path, QSize size) {
    return picture(size).writeFile(path);
}

// The chart at `size` as the control draws it, on an image or on a document's device.
PictureWriter ChartExport::picture(QSize size) {
    return PictureWriter(QStringLiteral("chart"), size, [this, size](QPaintDevice& device) {
        return drawOn(mViewer, device, size);
    });
}

void ChartExport::copyChart() {
    const QSize size = chartSize();
    QImage image(size, QImage::Format_RGB32);
    if (size.isEmpty() || image.isNull() || !drawOn(mViewer, image, size)) {
        prompts().beep();
        return;
    }
    auto* data = new QMimeData;
    data->setImageData(image);
    if (const QByteArray svg = picture(size).document(ChartFormat::Svg); !svg.isEmpty())
        data->setData(kSvgMime, svg);
    QGuiApplication::clipboard()->setMimeData(data);
}
