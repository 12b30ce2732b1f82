#include "chartexport.h"

#include "chartdocument.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "filenametext.h"
#include "shownfiles.h"
#include "surfaceregistry.h"
#include "userprompts.h"
#include "varnutl.h"

#include <QBuffer>
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
    if (!chartFormatOf(QLatin1Char('.') + request.format))
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
    QString reason = shownFileRefusal(choice->path);
    if (reason.isEmpty())
        reason = writeChart(choice->path, choice->size);
    if (!reason.isEmpty()) {
        prompts().messageBox(
            QStringLiteral("Cannot save the chart as %1: %2").arg(choice->path, reason),
            UserPrompts::Buttons::Ok, UserPrompts::Icon::Exclamation,
            QLatin1String(curvex::kProgramTitle));
        return;
    }
    rememberChoice(choice->path);
}

QString ChartExport::writeChart(const QString& path, QSize size) {
    const auto format = chartFormatOf(path);
    if (!format)
        return QStringLiteral("the name must end in .png, .svg or .pdf");
    const QByteArray document = documentOf(*format, size);
    if (document.isEmpty())
        return QStringLiteral("the chart cannot be drawn at %1 x %2")
            .arg(size.width())
            .arg(size.height());
    return QString::fromLocal8Bit(replaceChartFile(fileNameBytes(path).toStdString(), document));
}

// The chart at `size` as a whole file of `format`; empty when the control cannot draw it.
QByteArray ChartExport::documentOf(ChartFormat format, QSize size) {
    if (size.isEmpty())
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == ChartFormat::Png) {
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull() || !drawOn(mViewer, image, size) || !image.save(&buffer, "PNG"))
            return {};
        return buffer.data();
    }
    const bool written = writeVectorChart(
        buffer, format, size, [&](QPaintDevice& device) { return drawOn(mViewer, device, size); });
    return written ? buffer.data() : QByteArray();
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
    if (const QByteArray svg = documentOf(ChartFormat::Svg, size); !svg.isEmpty())
        data->setData(kSvgMime, svg);
    QGuiApplication::clipboard()->setMimeData(data);
}
