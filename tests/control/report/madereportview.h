#pragma once

#include "reportview.h"

#include <QImage>
#include <QPainter>

#include <vector>

// A view of three tools whose shown range, peaks' lines, change runs, air cutting and pictures the
// test sets; by default it has no change runs, no air rows and no pictures of the optimisation.
class MadeView : public ReportView {
public:
    std::vector<ToolRow> toolRows() override { return {{3, row(10)}, {1, row(20)}, {7, row(30)}}; }
    ReportTimeRow totalRow() override { return row(60); }
    ReportTimeRow shownRow() override { return row(25); }
    ShownRange shownRange() override { return range; }
    bool drawChart(QPaintDevice&, QSize, bool) override { return true; }
    std::optional<std::vector<ReportPeakRow>> peaks(std::size_t count) override {
        std::vector<ReportPeakRow> rows;
        for (std::size_t i = 0; i < lines.size() && i < count; ++i) {
            ReportPeakRow peak;
            peak.block = static_cast<qint32>(100 + i);
            peak.line = lines[i];
            rows.push_back(peak);
        }
        return rows;
    }
    bool hasProgram() override { return program; }
    ReportPicture::Drawing toolpath() override { return {}; }
    ReportChart::Drawing compareChart(curvex::CompareMode mode) override {
        chartModes.push_back(mode);
        if (!pictures)
            return {};
        return [](QPaintDevice& device, QSize size) {
            QPainter painter(&device);
            painter.fillRect(QRect(QPoint(0, 0), size), Qt::darkBlue);
            return painter.end();
        };
    }
    ReportPicture::Drawing colouredToolpath(curvex::ToolpathColourMode colours) override {
        colourings.push_back(colours);
        if (!pictures)
            return {};
        return [](QImage& image) {
            image.fill(Qt::darkRed);
            return true;
        };
    }
    std::optional<std::vector<ReportChangeRow>> changes(ChangeKind kind,
                                                        std::size_t count) override {
        changeCounts.push_back(count);
        return kind == ChangeKind::Slower ? slower : faster;
    }
    std::optional<ReportAirRow> totalAir() override { return total; }
    std::optional<ReportAirRow> shownAir() override { return shown; }

    static ReportTimeRow row(quint64 records) {
        ReportTimeRow made;
        made.records = records;
        made.programmed = 2.0 * static_cast<double>(records);
        made.optimised = static_cast<double>(records);
        made.saved = made.optimised;
        made.savedPercent = 50.0;
        return made;
    }

    ShownRange range;
    std::vector<quint32> lines{12, 0, 7};
    bool program = true;
    bool pictures = false;
    std::optional<std::vector<ReportChangeRow>> slower;
    std::optional<std::vector<ReportChangeRow>> faster;
    std::optional<ReportAirRow> total;
    std::optional<ReportAirRow> shown;
    // What the report asked for.
    std::vector<curvex::CompareMode> chartModes;
    std::vector<curvex::ToolpathColourMode> colourings;
    std::vector<std::size_t> changeCounts;
};
