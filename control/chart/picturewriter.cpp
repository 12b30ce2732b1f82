#include "picturewriter.h"

#include "filenametext.h"

#include <QBuffer>
#include <QImage>

#include <utility>

QByteArray EncodePng(const QImage& image) {
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return buffer.data();
}

QString ReplacePictureFile(const QString& path, const QByteArray& document) {
    return QString::fromLocal8Bit(ReplaceChartFile(fileNameBytes(path).toStdString(), document));
}

PictureWriter::PictureWriter(QString subject, QSize size, PixelPainting pixels,
                             ChartPainting drawing)
    : subject_(std::move(subject)), size_(size), pixels_(std::move(pixels)),
      drawing_(std::move(drawing)) {}

PictureWriter::PictureWriter(QString subject, QSize size, const ChartPainting& drawing)
    : PictureWriter(
          std::move(subject), size, [drawing](QImage& image) { return drawing(image); }, drawing) {}

QByteArray PictureWriter::document(ChartFormat format) {
    failure_.clear();
    if (size_.isEmpty())
        return failed(notDrawn());
    return format == ChartFormat::Png ? pngDocument() : vectorDocument(format);
}

QString PictureWriter::writeFile(const QString& path) {
    const auto format = ChartFormatOf(path);
    if (!format)
        return failure_ = QStringLiteral("the name must end in .png, .svg or .pdf");
    const QByteArray bytes = document(*format);
    if (bytes.isEmpty())
        return failure_;
    return failure_ = ReplacePictureFile(path, bytes);
}

QByteArray PictureWriter::pngDocument() {
    QImage image(size_, QImage::Format_RGB32);
    if (image.isNull())
        return failed(QStringLiteral("not enough memory for a %1x%2 image")
                          .arg(size_.width())
                          .arg(size_.height()));
    if (!pixels_(image))
        return failed(notDrawn());
    QByteArray png = EncodePng(image);
    return png.isEmpty() ? failed(QStringLiteral("the PNG image could not be made")) : png;
}

QByteArray PictureWriter::vectorDocument(ChartFormat format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteVectorChart(buffer, format, size_, drawing_))
        return failed(notDrawn());
    return buffer.data();
}

QByteArray PictureWriter::failed(const QString& reason) {
    failure_ = reason;
    return {};
}

QString PictureWriter::notDrawn() const {
    return QStringLiteral("the %1 could not be drawn at %2 x %3")
        .arg(subject_)
        .arg(size_.width())
        .arg(size_.height());
}
