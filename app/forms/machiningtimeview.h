#pragma once

#include "curvexids.h"
#include "machiningrow.h"

#include <QColor>
#include <QTableWidget>

#include <array>
#include <vector>

// The table of the "Machining time" panel: a row per tool with the colours the chart draws it
// in, then the total and the shown range; times as h:mm:ss.s, percent with one decimal. The last
// three columns are the air cutting: length, programmed and optimised time.
class MachiningTimeView : public QTableWidget {
    Q_OBJECT
public:
    // The colour of every curve colour number.
    using CurveColours = std::array<QColor, curvex::kCurveColours>;

    // In the order of their captions in section "Extra Text".
    enum Column {
        ColumnTool,
        ColumnRecords,
        ColumnCut,
        ColumnRapid,
        ColumnProgrammed,
        ColumnOptimised,
        ColumnSaved,
        ColumnSavedPercent,
        ColumnNoFeed,
        ColumnAir,
        ColumnAirProgrammed,
        ColumnAirOptimised,
        ColumnCount,
    };

    explicit MachiningTimeView(QWidget* parent = nullptr);

    // The column and row captions from section "Extra Text" of the settings file.
    void readCaptions();

    void showRows(const std::vector<MachiningRow>& tools, const MachiningRow& total,
                  const MachiningRow& shown, const CurveColours& colours);

    // The colours shown beside tool row `row`, in the order of their colour numbers.
    std::vector<QColor> toolColours(int row) const;

private:
    void setRow(int row, const QString& name, const MachiningRow& values);
    void setToolColours(int row, std::uint16_t colourBits, const CurveColours& colours);

    QString mTotalCaption;
    QString mShownCaption;
};
