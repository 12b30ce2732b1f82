#include "pdfpage.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

bool run(const QString& program, const QStringList& arguments, QString* output) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *output = QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return true;
}

} // namespace

PdfDocument readPdf(const QString& path, int dotsPerInch) {
    PdfDocument document;
    QString info;
    if (!run(QStringLiteral("pdfinfo"), {path}, &info)) {
        document.error = QStringLiteral("pdfinfo %1: %2").arg(path, info);
        return document;
    }
    const auto pages =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(info);
    const auto size = QRegularExpression(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                         QRegularExpression::MultilineOption)
                          .match(info);
    if (!pages.hasMatch() || !size.hasMatch()) {
        document.error = QStringLiteral("pdfinfo gave no page count or size: %1").arg(info);
        return document;
    }
    document.pages = pages.captured(1).toInt();
    document.pageSizePoints = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());

    QTemporaryDir folder;
    const QString prefix = folder.filePath(QStringLiteral("page"));
    QString output;
    if (!run(QStringLiteral("pdftoppm"),
             {QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-f"),
              QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
              QStringLiteral("-singlefile"), QStringLiteral("-png"), path, prefix},
             &output)) {
        document.error = QStringLiteral("pdftoppm %1: %2").arg(path, output);
        return document;
    }
    document.firstPage = QImage(prefix + QStringLiteral(".png"));
    if (document.firstPage.isNull()) {
        document.error = QStringLiteral("pdftoppm wrote no image of %1").arg(path);
    }
    return document;
}
