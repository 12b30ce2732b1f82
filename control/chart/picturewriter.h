#pragma once

#include "chartdocument.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

class QImage;

// Draws a picture into an image of the picture's size; false when it could not.
using PixelPainting = std::function<bool(QImage& image)>;

// The PNG file of `image`; empty when it cannot be encoded.
QByteArray EncodePng(const QImage& image);

// Replaces the file `path` with `document` in one step (see ReplaceChartFile). `path` is a file
// name as the program keeps it as text (fileNameFromBytes) and names the file byte for byte.
// Empty on success, else the system's reason.
QString ReplacePictureFile(const QString& path, const QByteArray& document);

// One picture, a chart or a toolpath, as a PNG, SVG or PDF file. PNG takes the pixels drawn into
// an image of the picture's size, SVG and PDF the drawing on a document's device (see
// WriteVectorChart). A failure comes back as one sentence for the host to show.
class PictureWriter {
public:
    // `subject` names the picture in failures ("chart", "toolpath"); `pixels` draws the PNG's
    // image, `drawing` the SVG's and PDF's document.
    PictureWriter(QString subject, QSize size, PixelPainting pixels, ChartPainting drawing);
    // A picture that draws the same way on an image and on a document.
    PictureWriter(QString subject, QSize size, const ChartPainting& drawing);

    // The whole file of `format`; empty when it could not be made, and failure() says why.
    QByteArray document(ChartFormat format);
    // Writes the file `path` (as in ReplacePictureFile) in the format of its ending, replacing
    // an older file only once the whole picture is written. Empty on success, else why not.
    QString writeFile(const QString& path);
    // What the picture shows, as given.
    const QString& subject() const { return subject_; }
    // Why the last document or file could not be made; empty after a success.
    const QString& failure() const { return failure_; }

private:
    QByteArray pngDocument();
    QByteArray vectorDocument(ChartFormat format);
    QByteArray failed(const QString& reason);
    QString notDrawn() const;

    QString subject_;
    QSize size_;
    PixelPainting pixels_;
    ChartPainting drawing_;
    QString failure_;
};
