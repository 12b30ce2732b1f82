#include "airrow.h"

#include "curvexids.h"

std::optional<AirRow> AirRow::fromVariant(const QVariant& value) {
    if (value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    const QVariantList fields = value.toList();
    if (fields.size() != curvex::AirFieldCount)
        return std::nullopt;
    return AirRow{fields[curvex::AirLength].toDouble(), fields[curvex::AirProgrammed].toDouble(),
                  fields[curvex::AirOptimised].toDouble()};
}
