#pragma once

#include "reportsection.h"

#include <QString>

#include <functional>

#include <memory>
#include <vector>

class QIODevice;
class QPaintDevice;

// A report as a PDF document: A4 landscape, vector drawing with its text as text. The sections
// follow one another down the page; one that does not fit on what is left of a page starts the
// next, a table goes on over pages. Every page says "Page n of m" at its foot.
class ReportDocument {
public:
    // `pageText` gives the foot of page n of m.
    using PageText = std::function<QString(int page, int pages)>;

    ReportDocument(QString title, PageText pageText);

    void add(std::unique_ptr<ReportSection> section);

    // Writes the document to `out`; false when a section could not be drawn or `out` could not
    // take the document.
    bool write(QIODevice& out);

private:
    struct Placed {
        const ReportSection* section;
        QRectF area;
    };
    using Page = std::vector<Placed>;

    std::vector<Page> layOut(QPaintDevice& device, const QRectF& body);
    bool drawPage(QPainter& painter, const Page& page, const QRectF& foot, int number,
                  int count) const;

    QString title_;
    PageText pageText_;
    std::vector<std::unique_ptr<ReportSection>> sections_;
    std::vector<std::unique_ptr<ReportSection>> parts_; // the pieces of split sections
};
