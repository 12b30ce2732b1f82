#include "chartoutput.h"

#include "cutgraph.h"
#include "graphrenderer.h"

#include <QImage>
#include <QPainter>

namespace {

// A target larger than this many device pixels along a side is refused.
constexpr int kMaxTargetSide = 1 << 20;

// Keeps the layout a render writes into the graph (its size and what the mouse mapping reads)
// and puts it back when it goes. A second graph object is no way out: it would release the
// shared data set when it went.
class KeptLayout {
public:
    explicit KeptLayout(CCutGraph& graph)
        : graph_(graph), width_(graph.plotWidth), height_(graph.plotHeight),
          fontHeight_(graph.fontHeight), distMax_(graph.distMax), plotLeft_(graph.plotLeft),
          plotRight_(graph.plotRight) {}
    ~KeptLayout() {
        graph_.plotWidth = width_;
        graph_.plotHeight = height_;
        graph_.fontHeight = fontHeight_;
        graph_.distMax = distMax_;
        graph_.plotLeft = plotLeft_;
        graph_.plotRight = plotRight_;
    }
    KeptLayout(const KeptLayout&) = delete;
    KeptLayout& operator=(const KeptLayout&) = delete;

private:
    CCutGraph& graph_;
    std::int32_t width_;
    std::int32_t height_;
    std::int32_t fontHeight_;
    float distMax_;
    std::int32_t plotLeft_;
    std::int32_t plotRight_;
};

bool sideInRange(int side, int maximum) {
    return side >= 1 && side <= maximum;
}

bool drawPixels(QPaintDevice& device, CCutGraph& graph, const QRect& target) {
    QImage chart(graph.plotWidth, graph.plotHeight, QImage::Format_RGB32);
    if (chart.isNull())
        return false;
    DrawGraph(chart, graph, moduleGraphInputs(graph));
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target.topLeft(), chart);
    return painter.end();
}

bool drawVectors(QPaintDevice& device, CCutGraph& graph, const QRect& target) {
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    painter.translate(target.topLeft());
    painter.scale(static_cast<double>(target.width()) / graph.plotWidth,
                  static_cast<double>(target.height()) / graph.plotHeight);
    DrawGraph(painter, graph, moduleGraphInputs(graph));
    return painter.end();
}

} // namespace

bool DrawChartOn(QPaintDevice& device, CCutGraph& shown, QSize chartSize, const QRect& target) {
    if (!sideInRange(chartSize.width(), kMaxChartSide) ||
        !sideInRange(chartSize.height(), kMaxChartSide) ||
        !sideInRange(target.width(), kMaxTargetSide) ||
        !sideInRange(target.height(), kMaxTargetSide))
        return false;
    const KeptLayout kept(shown);
    shown.plotWidth = chartSize.width();
    shown.plotHeight = chartSize.height();
    const bool pixels = device.devType() == QInternal::Image && target.size() == chartSize;
    return pixels ? drawPixels(device, shown, target) : drawVectors(device, shown, target);
}
