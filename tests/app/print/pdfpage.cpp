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

namespace {

// The lines of a poppler listing after its two heading lines.
QStringList listedRows(const QString& listing) {
    return listing.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
}

QList<PdfWord> wordsOf(const QString& boxes, QSizeF* page) {
    const auto size =
        QRegularExpression(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""))
            .match(boxes);
    if (size.hasMatch())
        *page = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    QList<PdfWord> words;
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([-\\d.]+)\" yMin=\"([-\\d.]+)\" xMax=\"([-\\d.]+)\" "
                       "yMax=\"([-\\d.]+)\">([^<]*)</word>"));
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
        const auto match = it.next();
        words.push_back(
            {match.captured(5),
             QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                    QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()))});
    }
    return words;
}

} // namespace

QString PdfContent::text() const {
    QStringList texts;
    for (const PdfWord& word : words)
        texts.push_back(word.text);
    return texts.join(QLatin1Char(' '));
}

PdfContent readPdfContent(const QString& path) {
    PdfContent content;
    QString output;
    const QStringList firstPage{QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                QStringLiteral("1")};
    if (!run(QStringLiteral("pdffonts"), {path}, &output)) {
        content.error = QStringLiteral("pdffonts %1: %2").arg(path, output);
        return content;
    }
    for (const QString& row : listedRows(output))
        content.fonts.push_back(row.section(QLatin1Char(' '), 0, 0));
    if (!run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}, &output)) {
        content.error = QStringLiteral("pdfimages %1: %2").arg(path, output);
        return content;
    }
    content.images = static_cast<int>(listedRows(output).size());
    if (!run(QStringLiteral("pdftotext"),
             firstPage + QStringList{QStringLiteral("-bbox"), path, QStringLiteral("-")},
             &output)) {
        content.error = QStringLiteral("pdftotext %1: %2").arg(path, output);
        return content;
    }
    content.words = wordsOf(output, &content.pageSizePoints);
    if (!run(QStringLiteral("pdftocairo"),
             firstPage + QStringList{QStringLiteral("-svg"), path, QStringLiteral("-")}, &output)) {
        content.error = QStringLiteral("pdftocairo %1: %2").arg(path, output);
        return content;
    }
    content.strokedPaths =
        static_cast<int>(output.count(QStringLiteral("<path style=\"fill:none;")));
    content.images += static_cast<int>(output.count(QStringLiteral("<image")));
    return content;
}
