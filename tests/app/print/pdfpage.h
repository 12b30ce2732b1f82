#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

// A PDF file read back with the poppler tools: its page count, the first page's size in points
// and that page as an image.
struct PdfDocument {
    int pages = 0;
    QSizeF pageSizePoints;
    QImage firstPage;
    QString error; // empty when the file could be read
};

PdfDocument readPdf(const QString& path, int dotsPerInch);

// What the first page of a PDF file is made of, as the poppler tools list it: the fonts of the
// file, its images, the stroked paths of page 1 (counted in pdftocairo's SVG of it, where text is
// filled glyphs) and the words of page 1 with their boxes in points.
struct PdfWord {
    QString text;
    QRectF box;
};
struct PdfContent {
    QSizeF pageSizePoints;
    QStringList fonts;
    int images = 0;
    int strokedPaths = 0;
    QList<PdfWord> words;
    QString error; // empty when the file could be read

    // The words joined by blanks, in reading order.
    QString text() const;
};

PdfContent readPdfContent(const QString& path);
