#include "chartdocument.h"

#include "atomicfile.h"

#include <QFileDevice>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cerrno>
#include <cstring>

namespace {

// The chart's pixels are screen pixels of this resolution; it sets the document's physical size.
constexpr int kPixelsPerInch = 96;
const QString kDocumentTitle = QStringLiteral("Chart");

bool writeSvg(QIODevice& out, QSize size, const ChartPainting& paint) {
    QSvgGenerator generator;
    generator.setOutputDevice(&out);
    generator.setResolution(kPixelsPerInch);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(kDocumentTitle);
    return paint(generator);
}

bool writePdf(QIODevice& out, QSize size, const ChartPainting& paint) {
    QPdfWriter writer(&out);
    writer.setResolution(kPixelsPerInch);
    writer.setTitle(kDocumentTitle);
    writer.setCreator(QStringLiteral("Plotwell"));
    const QSizeF inches(static_cast<double>(size.width()) / kPixelsPerInch,
                        static_cast<double>(size.height()) / kPixelsPerInch);
    writer.setPageSize(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF());
    return paint(writer);
}

} // namespace

std::optional<ChartFormat> ChartFormatOf(const QString& fileName) {
    for (const ChartFormat format : {ChartFormat::Png, ChartFormat::Svg, ChartFormat::Pdf})
        if (fileName.endsWith(ChartFormatEnding(format), Qt::CaseInsensitive))
            return format;
    return std::nullopt;
}

QString ChartFormatEnding(ChartFormat format) {
    switch (format) {
    case ChartFormat::Svg:
        return QStringLiteral(".svg");
    case ChartFormat::Pdf:
        return QStringLiteral(".pdf");
    case ChartFormat::Png:
        break;
    }
    return QStringLiteral(".png");
}

bool WriteVectorChart(QIODevice& out, ChartFormat format, QSize size, const ChartPainting& paint) {
    if (size.isEmpty() || !out.isWritable())
        return false;
    bool painted = false;
    if (format == ChartFormat::Svg)
        painted = writeSvg(out, size, paint);
    else if (format == ChartFormat::Pdf)
        painted = writePdf(out, size, paint);
    const auto* file = qobject_cast<const QFileDevice*>(&out);
    return painted && (file == nullptr || file->error() == QFileDevice::NoError);
}

std::string ReplaceChartFile(const std::string& path, const QByteArray& document) {
    const std::string_view bytes(document.constData(), static_cast<std::size_t>(document.size()));
    if (replaceFileAtomically(path, bytes))
        return {};
    return std::strerror(errno);
}
