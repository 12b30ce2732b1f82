#include "printtestsupport.h"

#include "appstate.h"
#include "forms/frmmain.h"
#include "print/printerlayout.h"
#include "surfaceregistry.h"
#include "varnutl.h"

#include <QApplication>
#include <QDir>
#include <QHash>
#include <QPainter>
#include <QScreen>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>

QSize canvasFor(QPageSize::PageSizeId size, QPageLayout::Orientation orientation) {
    const QRectF points =
        QPageLayout(QPageSize(size), orientation, QMarginsF()).fullRect(QPageLayout::Point);
    const double twipsPerPixel = 1440.0 / QApplication::primaryScreen()->logicalDotsPerInchX();
    return {canvasPixels(points.width() * 20, twipsPerPixel),
            canvasPixels(points.height() * 20, twipsPerPixel)};
}

QRectF chartAreaFor(QPageSize::PageSizeId size, QPageLayout::Orientation orientation,
                    const QMarginsF& margins) {
    const QSizeF page =
        QPageLayout(QPageSize(size), orientation, QMarginsF()).fullRect(QPageLayout::Point).size();
    const double keep = 5.0 / 25.4 * 72.0;
    const QRectF inner =
        QRectF(QPointF(0, 0), page).marginsRemoved(margins).adjusted(keep, keep, -keep, -keep);
    const QSize canvas = canvasFor(size, orientation);
    const double sx = canvas.width() / page.width();
    const double sy = canvas.height() / page.height();
    return {inner.left() * sx, inner.top() * sy, inner.width() * sx, inner.height() * sy};
}

ChartWindow::ChartWindow() {
    apptest::application();
    const QString control = apptest::binFile(QStringLiteral("Curvex.ocx"));
    if (!apptest::PrivateRegistry::registerControl(control)) {
        error_ = QStringLiteral("cannot register %1").arg(control);
        return;
    }
    gAppFolder = folder_.path() + QLatin1Char('/');
    SetIniFile(gAppFolder + QStringLiteral("Plotwell.ini"));
    gPendingFile = QDir::current().absoluteFilePath(QStringLiteral("samples/CUTDATA.txt"));
    gPendingFileValid = true;
    window_ = FrmMain::create(&error_);
    if (!window_) {
        return;
    }
    window_->resize(900, 600);
    window_->show();
    QCoreApplication::processEvents();
    window_->Form_Load();
    QCoreApplication::processEvents();
    if (window_->fileName().isEmpty()) {
        error_ = QStringLiteral("the sample %1 did not load").arg(gPendingFile);
        window_.reset();
    }
}

ChartWindow::~ChartWindow() {
    gPendingFileValid = false;
}

QWidget* ChartWindow::window() const {
    return window_.get();
}

CurvexProxy* ChartWindow::viewer() const {
    return window_ ? &window_->Viewer1() : nullptr;
}

void ChartWindow::resizeWindow(QSize size) {
    window_->resize(size);
    QCoreApplication::processEvents();
    window_->Viewer1().refresh();
}

QImage ChartWindow::chartBitmap() const {
    std::int16_t width = 0;
    std::int16_t height = 0;
    window_->Viewer1().getBmpSize(width, height);
    QImage chart(width, height, QImage::Format_RGB32);
    chart.fill(Qt::magenta);
    const component::SurfaceRegistry::Entry surface(&chart);
    OutputGraphToPrinter(window_->Viewer1(), surface.handle(), width, height);
    return chart;
}

namespace {

QRgb mostCommon(const QImage& image, QRgb except, bool useExcept, int onlyRow = -1) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        if (onlyRow >= 0 && y != onlyRow) {
            continue;
        }
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            if (!useExcept || pixel != except) {
                ++counts[pixel];
            }
        }
    }
    QRgb best = 0;
    int bestCount = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > bestCount) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return best;
}

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b)) <
           150;
}

// The row and the column with the most pixels near `colour`, with the extent from their first
// to their last such pixel (curves drawn over an axis leave gaps in it).
AxisLines strongestLines(const QImage& image, QRgb colour) {
    AxisLines lines;
    lines.colour = colour;
    std::vector<int> columns(static_cast<std::size_t>(image.width()), 0);
    int rowCount = 0;
    for (int y = 0; y < image.height(); ++y) {
        int inRow = 0;
        for (int x = 0; x < image.width(); ++x) {
            if (near(image.pixel(x, y), colour)) {
                ++inRow;
                ++columns[static_cast<std::size_t>(x)];
            }
        }
        if (inRow > rowCount) {
            lines.row = y;
            rowCount = inRow;
        }
    }
    const auto best = std::max_element(columns.begin(), columns.end());
    lines.column = static_cast<int>(best - columns.begin());
    const auto extent = [&](auto isNear, int size) {
        int first = -1;
        int last = -1;
        for (int i = 0; i < size; ++i) {
            if (isNear(i)) {
                first = first < 0 ? i : first;
                last = i;
            }
        }
        return first < 0 ? 0 : last - first + 1;
    };
    lines.rowLength =
        extent([&](int x) { return near(image.pixel(x, lines.row), colour); }, image.width());
    lines.columnLength =
        extent([&](int y) { return near(image.pixel(lines.column, y), colour); }, image.height());
    return lines;
}

} // namespace

AxisLines findAxisLines(const QImage& chart) {
    const QRgb background = mostCommon(chart, 0, false);
    int busiestRow = 0;
    int busiestCount = -1;
    for (int y = 0; y < chart.height(); ++y) {
        int count = 0;
        for (int x = 0; x < chart.width(); ++x) {
            count += (chart.pixel(x, y) & 0xFFFFFF) != background ? 1 : 0;
        }
        if (count > busiestCount) {
            busiestRow = y;
            busiestCount = count;
        }
    }
    return strongestLines(chart, mostCommon(chart, background, true, busiestRow));
}

int inkNearEdges(const QImage& page, int dotsPerInch, double mm) {
    const int band = static_cast<int>(std::ceil(mm / 25.4 * dotsPerInch));
    const QRect inner = page.rect().adjusted(band, band, -band, -band);
    int count = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QRgb pixel = page.pixel(x, y);
            const bool ink = std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 200;
            count += ink && !inner.contains(x, y) ? 1 : 0;
        }
    }
    return count;
}

QString checkChartCentred(const QImage& chart, QSize canvasSize, const QRectF& area,
                          const QImage& page) {
    const AxisLines axes = findAxisLines(chart);
    // At its size and centred on the page when it fits the area, else scaled down to fit the area
    // with its aspect kept and centred in it.
    const double scale =
        std::min({1.0, area.width() / chart.width(), area.height() / chart.height()});
    const QRectF centredIn = scale < 1.0 ? area : QRectF(QPointF(0, 0), QSizeF(canvasSize));
    const double left =
        centredIn.left() + std::floor((centredIn.width() - chart.width() * scale) / 2);
    const double top =
        centredIn.top() + std::floor((centredIn.height() - chart.height() * scale) / 2);
    AxisLines expected = axes;
    expected.row = static_cast<int>(top + axes.row * scale);
    expected.column = static_cast<int>(left + axes.column * scale);
    expected.rowLength = static_cast<int>(std::lround(axes.rowLength * scale));
    expected.columnLength = static_cast<int>(std::lround(axes.columnLength * scale));
    const bool canvasWide = canvasSize.width() > canvasSize.height();
    const bool pageWide = page.width() > page.height();
    std::vector<QImage> candidates;
    if (canvasWide == pageWide) {
        candidates.push_back(page);
    } else {
        candidates.push_back(page.transformed(QTransform().rotate(90)));
        candidates.push_back(page.transformed(QTransform().rotate(270)));
    }
    QString report;
    for (const QImage& candidate : candidates) {
        const double sx = static_cast<double>(candidate.width()) / canvasSize.width();
        const double sy = static_cast<double>(candidate.height()) / canvasSize.height();
        const double expectedRow = (expected.row + 0.5) * sy;
        const double expectedColumn = (expected.column + 0.5) * sx;
        const AxisLines found = strongestLines(candidate, axes.colour);
        const double lineWidth = std::max(sx, sy);
        const bool placed = std::abs(found.row + 0.5 - expectedRow) <= 2 * lineWidth + 1 &&
                            std::abs(found.column + 0.5 - expectedColumn) <= 2 * lineWidth + 1;
        const bool screenSize =
            std::abs(found.rowLength - expected.rowLength * sx) <= 3 * sx + 1 &&
            std::abs(found.columnLength - expected.columnLength * sy) <= 3 * sy + 1;
        if (placed && screenSize) {
            return {};
        }
        report += QStringLiteral("[axis row %1 (%2 px) expected at %3 (%4 px), axis column %5 "
                                 "(%6 px) expected at %7 (%8 px), page %9 x %10] ")
                      .arg(found.row)
                      .arg(found.rowLength)
                      .arg(expectedRow)
                      .arg(expected.rowLength * sx)
                      .arg(found.column)
                      .arg(found.columnLength)
                      .arg(expectedColumn)
                      .arg(expected.columnLength * sy)
                      .arg(candidate.width())
                      .arg(candidate.height());
    }
    return report;
}
