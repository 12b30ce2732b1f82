// The vector canvas: the same chart as the raster canvas, as lines, areas and text.
#include "vectorcanvas.h"
#include "columnpath.h"
#include "graphrenderer.h"
#include "graphtestsupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 600;

// A line from centre to centre in a colour, as both sides report it.
struct Segment {
    double x1;
    double y1;
    double x2;
    double y2;
    QRgb colour;
    auto key() const { return std::tie(x1, y1, x2, y2, colour); }
    bool operator<(const Segment& other) const { return key() < other.key(); }
    bool operator==(const Segment& other) const { return key() == other.key(); }
};

// Text by its string, the point its baseline starts at and its pixel size.
struct Label {
    std::string text;
    double x;
    double y;
    int pixelSize;
    auto key() const { return std::tie(text, x, y, pixelSize); }
    bool operator<(const Label& other) const { return key() < other.key(); }
    bool operator==(const Label& other) const { return key() == other.key(); }
};

std::ostream& operator<<(std::ostream& out, const Segment& s) {
    return out << "(" << s.x1 << "," << s.y1 << ")-(" << s.x2 << "," << s.y2 << ") #" << std::hex
               << (s.colour & 0xFFFFFF) << std::dec;
}

std::ostream& operator<<(std::ostream& out, const Label& l) {
    return out << "'" << l.text << "' at " << l.x << "," << l.y << " size " << l.pixelSize;
}

// Passes every call on to the raster canvas and notes the lines and labels it asks for, in the
// raster canvas's terms.
class RecordingCanvas final : public ChartCanvas {
public:
    explicit RecordingCanvas(ChartCanvas& target) : target_(target) {}

    void setClipRect(int left, int top, int right, int bottom) override {
        target_.setClipRect(left, top, right, bottom);
    }
    void selectPen(ColorRef colour) override {
        pen_ = rgbOf(colour);
        target_.selectPen(colour);
    }
    void selectBrush(ColorRef colour) override { target_.selectBrush(colour); }
    void selectFont(int height, TextDirection direction) override {
        height_ = height;
        direction_ = direction;
        target_.selectFont(height, direction);
    }
    void moveTo(int x, int y) override {
        x_ = x;
        y_ = y;
        target_.moveTo(x, y);
    }
    void lineTo(int x, int y) override {
        note(x_, y_, x, y);
        x_ = x;
        y_ = y;
        target_.lineTo(x, y);
    }
    void rectangle(int left, int top, int right, int bottom) override {
        if (right > left && bottom > top) {
            note(left, top, right - 1, top);
            note(right - 1, top, right - 1, bottom - 1);
            note(right - 1, bottom - 1, left, bottom - 1);
            note(left, bottom - 1, left, top);
        }
        target_.rectangle(left, top, right, bottom);
    }
    void ellipse(int left, int top, int right, int bottom) override {
        ++ellipses;
        target_.ellipse(left, top, right, bottom);
    }
    void textOut(int x, int y, const std::string& text) override {
        if (height_ / 2 > 0 && !text.empty()) {
            const ChartFace face = ChartFace::forCellHeight(height_);
            const int ascent = QFontMetrics(face.font()).ascent();
            labels.push_back(direction_ == TextDirection::Upward
                                 ? Label{text, double(x + ascent), double(y), face.pixelSize}
                                 : Label{text, double(x), double(y + ascent), face.pixelSize});
        }
        target_.textOut(x, y, text);
    }

    std::vector<Segment> segments;
    std::vector<Label> labels;
    int ellipses = 0;

private:
    void note(int x1, int y1, int x2, int y2) {
        if (x1 != x2 || y1 != y2)
            segments.push_back({x1 + 0.5, y1 + 0.5, x2 + 0.5, y2 + 0.5, pen_});
    }

    ChartCanvas& target_;
    QRgb pen_ = 0;
    int x_ = 0;
    int y_ = 0;
    int height_ = 0;
    TextDirection direction_ = TextDirection::Horizontal;
};

// A paint device that keeps what a painter sends it: stroked lines, filled areas and text, in
// device coordinates.
class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice() : engine_(*this) {}
    QPaintEngine* paintEngine() const override { return &engine_; }

    std::vector<Segment> segments;
    std::vector<Label> labels;
    int filledAreas = 0;
    int images = 0;

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return kWidth;
        case PdmHeight:
            return kHeight;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 1;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(RecordingDevice& device) : QPaintEngine(AllFeatures), device_(device) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        Type type() const override { return User; }
        void updateState(const QPaintEngineState& state) override {
            if (state.state() & DirtyTransform)
                transform_ = state.transform();
            if (state.state() & DirtyPen)
                pen_ = state.pen();
            if (state.state() & DirtyBrush)
                brush_ = state.brush();
        }
        void drawPath(const QPainterPath& path) override {
            if (brush_.style() != Qt::NoBrush)
                ++device_.filledAreas;
            if (pen_.style() == Qt::NoPen)
                return;
            QPointF at;
            for (int i = 0; i < path.elementCount(); ++i) {
                const QPainterPath::Element element = path.elementAt(i);
                const QPointF point = transform_.map(QPointF(element.x, element.y));
                if (element.isLineTo())
                    device_.segments.push_back(
                        {at.x(), at.y(), point.x(), point.y(), pen_.color().rgb()});
                at = point;
            }
        }
        void drawRects(const QRectF*, int count) override { device_.filledAreas += count; }
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++device_.filledAreas; }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++device_.images; }
        void drawImage(const QRectF&, const QImage&, const QRectF&,
                       Qt::ImageConversionFlags) override {
            ++device_.images;
        }
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            const QPointF at = transform_.map(p);
            device_.labels.push_back(
                {item.text().toStdString(), at.x(), at.y(), item.font().pixelSize()});
        }

    private:
        RecordingDevice& device_;
        QTransform transform_;
        QPen pen_;
        QBrush brush_;
    };

    mutable Engine engine_;
};

// Dense data: many records per pixel column, tool changes, spikes, a start past 0.
CutDataSet denseData(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<TestBlock> blocks;
    for (int i = 0; i < count; ++i) {
        TestBlock block;
        block.step = unit(random) * 0.05f;
        block.removal = unit(random) < 0.01f ? unit(random) * 40.0f : unit(random) * 3.0f;
        block.tool = static_cast<std::int16_t>(1 + i / (count / 5));
        blocks.push_back(block);
    }
    return makeData(blocks);
}

ChartState chartFrom(float lowerPercent) {
    ChartState chart;
    chart.width = kWidth;
    chart.height = kHeight;
    chart.shown.lower = lowerPercent;
    chart.colours[0] = 0x0000FF;
    chart.colours[1] = 0x00A000;
    chart.xTitle = "Distance [mm]";
    chart.yTitle = "Removal [mm3/mm]";
    return chart;
}

QByteArray svgOf(const CutDataSet& data, float lowerPercent) {
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kWidth, kHeight));
    generator.setViewBox(QRect(0, 0, kWidth, kHeight));
    QPainter painter(&generator);
    DrawGraph(painter, chartFrom(lowerPercent), &data);
    painter.end();
    return buffer.data();
}

// The text elements and the straight segments of the path elements of an SVG document.
struct SvgContent {
    std::vector<QString> texts;
    std::vector<QLineF> lines;
    int images = 0;
    QString error;
};

SvgContent parseSvg(const QByteArray& svg) {
    SvgContent content;
    QXmlStreamReader reader(svg);
    const QRegularExpression command(QStringLiteral("([ML])\\s*([-\\d.e]+)\\s*,\\s*([-\\d.e]+)"));
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("text")) {
            content.texts.push_back(reader.readElementText().trimmed());
        } else if (reader.name() == QLatin1String("image")) {
            ++content.images;
        } else if (reader.name() == QLatin1String("path")) {
            QPointF at;
            auto it = command.globalMatch(reader.attributes().value(QLatin1String("d")).toString());
            while (it.hasNext()) {
                const auto match = it.next();
                const QPointF point(match.captured(2).toDouble(), match.captured(3).toDouble());
                if (match.captured(1) == QLatin1String("L"))
                    content.lines.emplace_back(at, point);
                at = point;
            }
        }
    }
    if (reader.hasError())
        content.error = reader.errorString();
    return content;
}

bool hasLine(const SvgContent& svg, QLineF wanted) {
    return std::any_of(svg.lines.begin(), svg.lines.end(), [&](const QLineF& line) {
        return line == wanted || line == QLineF(wanted.p2(), wanted.p1());
    });
}

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The chart through a column path on the raster canvas, every record's line in turn, and the
// chart's own vector drawing; both sides' lines and labels sorted.
void drawOnBoth(const CutDataSet& data, const ChartState& chart, RecordingCanvas& asked,
                RecordingDevice& device) {
    ColumnPath path(asked);
    DrawGraph(asked, chart, &data, path);
    QPainter painter(&device);
    DrawGraph(painter, chart, &data);
    painter.end();
    std::sort(asked.segments.begin(), asked.segments.end());
    std::sort(device.segments.begin(), device.segments.end());
    std::sort(asked.labels.begin(), asked.labels.end());
    std::sort(device.labels.begin(), device.labels.end());
}

TEST(VectorCanvas, PlacesTheSameLinesAndLabelsAsTheRasterCanvas) {
    ensureGuiApplication();
    const CutDataSet data = denseData(7, 60000);
    for (const float lower : {0.0f, 10.0f}) {
        QImage image = blankImage(kWidth, kHeight);
        GdiCanvas raster(image);
        RecordingCanvas asked(raster);
        RecordingDevice device;
        drawOnBoth(data, chartFrom(lower), asked, device);
        EXPECT_GT(asked.segments.size(), 1000u) << "the curve is missing";
        EXPECT_LT(asked.segments.size(), 4u * kWidth) << "the curve is not reduced per column";
        EXPECT_GE(asked.labels.size(), 6u) << "titles, zero, maximum and ticks";
        EXPECT_EQ(device.segments, asked.segments) << "lower percent " << lower;
        EXPECT_EQ(device.labels, asked.labels) << "lower percent " << lower;
        EXPECT_EQ(device.images, 0);
        // The background and one opaque cell per label, and two areas (inside, outline) for each
        // half of the break marks.
        EXPECT_EQ(device.filledAreas,
                  1 + static_cast<int>(asked.labels.size()) + 2 * asked.ellipses);
        EXPECT_EQ(asked.ellipses, lower > 0.0f ? 4 : 0);
    }
}

// The feeds break at G00 blocks, many to a column or across several; the vector drawing takes
// them from the index and moves where the record by record drawing moves.
TEST(VectorCanvas, FeedsBrokenAtG00BlocksGiveTheSameLinesAsTheRasterCanvas) {
    ensureGuiApplication();
    const CutDataSet data = makeData(brokenFeedBlocks(5, 60000, {1, 2, 3, 40, 900}, 0.01f));
    const float windows[][2] = {{0.0f, 100.0f}, {10.0f, 40.0f}, {55.5f, 57.5f}};
    for (const auto& window : windows) {
        const float lower = window[0];
        ChartState chart = chartFrom(lower);
        chart.compareMode = CompareMode::Feeds;
        chart.shown.upper = window[1];
        QImage image = blankImage(kWidth, kHeight);
        GdiCanvas raster(image);
        RecordingCanvas asked(raster);
        RecordingDevice device;
        drawOnBoth(data, chart, asked, device);
        EXPECT_GT(asked.segments.size(), 300u) << "the curves are missing";
        EXPECT_EQ(device.segments, asked.segments) << "lower percent " << lower;
    }
}

TEST(VectorCanvas, SvgHoldsTheAxesAsLinesAndTheLabelsAsText) {
    ensureGuiApplication();
    const CutDataSet data = makeData({{0.0f, 0.0f}, {10.0f, 1.0f}, {40.0f, 4.0f}, {50.0f, 10.0f}});
    const SvgContent svg = parseSvg(svgOf(data, 0.0f));
    ASSERT_TRUE(svg.error.isEmpty()) << svg.error.toStdString();
    // At 1000 x 600 the axes meet at (63, 537) and end at y 12 and x 980.
    EXPECT_TRUE(hasLine(svg, QLineF(63.5, 537.5, 63.5, 12.5))) << "vertical axis";
    EXPECT_TRUE(hasLine(svg, QLineF(63.5, 537.5, 980.5, 537.5))) << "horizontal axis";
    EXPECT_TRUE(hasLine(svg, QLineF(63.5, 275.5, 73.5, 275.5))) << "the tick at 5";
    for (const char* label : {"Distance [mm]", "Removal [mm3/mm]", "MAX: 10.", "0", "5.", "50."})
        EXPECT_NE(std::find(svg.texts.begin(), svg.texts.end(), QLatin1String(label)),
                  svg.texts.end())
            << label;
    EXPECT_EQ(svg.images, 0);
}

TEST(VectorCanvas, ManyRecordsPerColumnGiveASmallFile) {
    ensureGuiApplication();
    const CutDataSet data = denseData(3, 300000);
    const QByteArray svg = svgOf(data, 0.0f);
    const SvgContent content = parseSvg(svg);
    ASSERT_TRUE(content.error.isEmpty());
    EXPECT_LT(content.lines.size(), 4u * kWidth);
    EXPECT_LT(svg.size(), 400 * 1024);
}

TEST(VectorCanvas, PdfHasOnePageWithFontsTextAndNoImage) {
    ensureGuiApplication();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chart.pdf"));
    {
        QPdfWriter writer(path);
        writer.setResolution(96);
        writer.setPageSize(QPageSize(QSizeF(kWidth, kHeight), QPageSize::Point));
        writer.setPageMargins(QMarginsF());
        QPainter painter(&writer);
        const CutDataSet data = denseData(5, 20000);
        DrawGraph(painter, chartFrom(10.0f), &data);
    }
    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
        << info.toStdString();
    const QString fonts = runTool(QStringLiteral("pdffonts"), {path});
    EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVuSansMono"))) << fonts.toStdString();
    const QStringList images = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(images.size(), 2) << "only the two heading lines: "
                                << images.join('\n').toStdString();
    const QString text = runTool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("MAX:"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Distance [mm]"))) << text.toStdString();
}

} // namespace
