#include "machiningrow.h"

#include "curvexids.h"

std::optional<MachiningRow> MachiningRow::fromVariant(const QVariant& value) {
    if (value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    const QVariantList fields = value.toList();
    if (fields.size() != curvex::TimeFieldCount)
        return std::nullopt;
    MachiningRow row;
    row.toolNo = fields[curvex::TimeToolNo].toInt();
    row.colours = static_cast<std::uint16_t>(fields[curvex::TimeColours].toUInt());
    row.records = fields[curvex::TimeRecords].toULongLong();
    row.cutLength = fields[curvex::TimeCutLength].toDouble();
    row.rapidLength = fields[curvex::TimeRapidLength].toDouble();
    row.programmed = fields[curvex::TimeProgrammed].toDouble();
    row.optimised = fields[curvex::TimeOptimised].toDouble();
    row.saved = fields[curvex::TimeSaved].toDouble();
    if (fields[curvex::TimeSavedPercent].isValid())
        row.savedPercent = fields[curvex::TimeSavedPercent].toDouble();
    row.noFeedProgrammed = fields[curvex::TimeNoFeedProgrammed].toULongLong();
    row.noFeedOptimised = fields[curvex::TimeNoFeedOptimised].toULongLong();
    return row;
}
