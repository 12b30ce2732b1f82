#include "picturewriter.h"

#include "filenametext.h"

#include <QBuffer>
#include <QImage>

#include <utility>

QByteArray encodePng(const QImage& image) {
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return buffer.data();
}

QString replacePictureFile(const QString& path, const QByteArray& document) {
    return QString::fromLocal8Bit(replaceChartFile(fileNameBytes(path).toStdString(), document));
}

PictureWriter::PictureWriter(QString subject, QSize size, PixelPainting pixels,
                             ChartPainting drawing)
    : mSubject(std::move(subject)), mSize(size), mPixels(std::move(pixels)),
      mDrawing(std::move(drawing)) {}

PictureWriter::PictureWriter(QString subject, QSize size, const ChartPainting& drawing)
    : PictureWriter(
          std::move(subject), size, [drawing](QImage& image) { return drawing(image); }, drawing) {}

QByteArray PictureWriter::document(ChartFormat format) {
    mFailure.clear();
    if (mSize.isEmpty())
        return failed(notDrawn());
    return format == ChartFormat::Png ? pngDocument() : vectorDocument(format);
}

QString PictureWriter::writeFile(const QString& path) {
    const auto format = chartFormatOf(path);
    if (!format)
        return mFailure = QStringLiteral("the name must end in .png, .svg or .pdf");
    const QByteArray bytes = document(*format);
    if (bytes.isEmpty())
        return mFailure;
    return mFailure = replacePictureFile(path, bytes);
}

QByteArray PictureWriter::pngDocument() {
    QImage image(mSize, QImage::Format_RGB32);
    if (image.isNull())
        return failed(QStringLiteral("not enough memory for a %1x%2 image")
                          .arg(mSize.width())
                          .arg(mSize.height()));
    if (!mPixels(image))
        return failed(notDrawn());
    QByteArray png = encodePng(image);
    return png.isEmpty() ? failed(QStringLiteral("the PNG image could not be made")) : png;
}

QByteArray PictureWriter::vectorDocument(ChartFormat format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writeVectorChart(buffer, format, mSize, mDrawing))
        return failed(notDrawn());
    return buffer.data();
}

QByteArray PictureWriter::failed(const QString& reason) {
    mFailure = reason;
    return {};
}

QString PictureWriter::notDrawn() const {
    return QStringLiteral("the %1 could not be drawn at %2 x %3")
        .arg(mSubject)
        .arg(mSize.width())
        .arg(mSize.height());
}
