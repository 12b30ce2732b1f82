#pragma once

#include "reportcaptions.h"
#include "reportfacts.h"
#include "reporttable.h"

#include <memory>

class ReportDocument;

// The report's section "Where the optimisation acted": under its heading the feed-change chart,
// the toolpath coloured by feed change, the largest slowdowns and speed-ups and the air cutting,
// each part left out when the host could not give it.
class OptimisationReport {
public:
    OptimisationReport(const ReportFacts& facts, const ReportCaptions& captions)
        : facts_(facts), captions_(captions) {}

    // Adds the section's parts to the end of `document`; nothing when there is none.
    void addTo(ReportDocument& document) const;

    // The change runs of `kind`, one row each: tool, blocks, the program line when the facts
    // have them, length, programmed and optimised time and the time lost (slower) or saved
    // (faster). Empty when the facts have none of the kind.
    std::unique_ptr<ReportTable> changeTable(ChangeKind kind) const;
    // The air cutting: a row each of the whole file and the narrowed shown range.
    std::unique_ptr<ReportTable> airTable() const;

private:
    // The table of `kind`, or the line saying there is none.
    std::unique_ptr<ReportSection> changeSection(ChangeKind kind) const;
    const std::optional<std::vector<ReportChangeRow>>& changesOf(ChangeKind kind) const {
        return kind == ChangeKind::Slower ? facts_.slower : facts_.faster;
    }

    const ReportFacts& facts_;
    const ReportCaptions& captions_;
};
