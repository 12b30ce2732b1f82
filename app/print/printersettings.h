#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QString>

// The printer settings kept from one print command to the next. An empty printer name with an
// output file name is the print-to-file (PDF) choice of the set-up dialog.
struct PrinterSettings {
    QString printerName;
    QString outputFileName;
    QPageSize pageSize;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QPrinter::PaperSource paperSource = QPrinter::Auto;
    int resolution = 0;
    QPrinter::ColorMode colorMode = QPrinter::Color;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    int copies = 1;
    // False until the default printer has been fetched once.
    bool initialised = false;
};

inline constexpr int kPrinterMessageCount = 16;
