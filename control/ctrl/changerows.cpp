#include "changerows.h"

#include "curvexids.h"

QVariant ChangeRowsVariant(const std::vector<ChangeRun>& runs) {
    QVariantList rows;
    rows.reserve(static_cast<qsizetype>(runs.size()));
    for (const ChangeRun& run : runs) {
        QVariantList row(curvex::ChangeFieldCount);
        row[curvex::ChangeFirst] = static_cast<qint64>(run.first);
        row[curvex::ChangeLast] = static_cast<qint64>(run.last);
        row[curvex::ChangeFirstBlock] = run.firstBlock;
        row[curvex::ChangeLastBlock] = run.lastBlock;
        row[curvex::ChangeToolNo] = static_cast<int>(run.toolNo);
        row[curvex::ChangeLength] = run.length;
        row[curvex::ChangeProgrammed] = run.programmed;
        row[curvex::ChangeOptimised] = run.optimised;
        rows.push_back(row);
    }
    return rows;
}
