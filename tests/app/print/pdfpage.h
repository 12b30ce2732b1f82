#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

// A PDF file read back with the poppler tools: its page count, the first page's size in points
// and that page as an image.
struct PdfDocument {
    int pages = 0;
    QSizeF pageSizePoints;
    QImage firstPage;
    QString error; // empty when the file could be read
};

PdfDocument readPdf(const QString& path, int dotsPerInch);
