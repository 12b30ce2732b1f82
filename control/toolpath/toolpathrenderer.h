#pragma once

#include "toolpathcolouring.h"
#include "toolpathfit.h"
#include "toolpathmodel.h"
#include "toolpathpixels.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <optional>

// What a toolpath picture shows besides the path: the marked record (a cross at its end point,
// its segment drawn wider).
struct ToolpathMarks {
    std::optional<std::uint32_t> marked;
};

// Draws the toolpath pictures: the path, the marked record, an axis triad in the lower left
// corner and the colour bar of the viridis or the feed change's colouring. How many segments were
// left out is for the host to say beside the picture (ToolpathModel::leftOut).
class ToolpathRenderer {
public:
    // The style and the marks are kept as copies, so that a caller may pass temporaries.
    ToolpathRenderer(const ToolpathModel& model, const ToolpathStyle& style,
                     const ToolpathMarks& marks = {})
        : model_(model), style_(style), marks_(marks) {}

    // Into an image of the fit's size (Format_RGB32 or ARGB32), the path rasterised from
    // `pixels`, which this projects again; a draft with `stride` above 1 (DrawToolpathPixels).
    void drawImage(QImage& image, const ToolpathFit& fit, ToolpathPixels& pixels,
                   std::uint32_t stride = 1) const;
    // As vector drawing: one line per segment, runs of one colour as polylines.
    void paint(QPainter& painter, const ToolpathFit& fit) const;

private:
    void paintSegments(QPainter& painter, const ToolpathFit& fit) const;
    void paintExtras(QPainter& painter, const ToolpathFit& fit) const;
    void paintMark(QPainter& painter, const ToolpathFit& fit) const;
    void paintTriad(QPainter& painter, const ToolpathFit& fit) const;
    void paintColourBar(QPainter& painter, const ToolpathFit& fit) const;
    void paintChangeBar(QPainter& painter, const ToolpathFit& fit) const;

    const ToolpathModel& model_;
    const ToolpathStyle style_;
    const ToolpathMarks marks_;
};
