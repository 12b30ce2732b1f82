#include "rangeselection.h"

float PercentAtX(const CCutGraph& graph, bool hasData, int x) {
    if (!hasData)
        return -1.0f;
    if (x <= graph.plotLeft)
        return graph.lowerPercent;
    if (x >= graph.plotRight)
        return graph.upperPercent;
    const float fraction = static_cast<float>(x - graph.plotLeft) /
                           static_cast<float>(graph.plotRight - graph.plotLeft);
    return graph.lowerPercent + fraction * (graph.upperPercent - graph.lowerPercent);
}

bool IsPercentInRange(float percent) {
    return percent >= 0.0f && percent <= 100.0f;
}

void ApplySelectedWindow(CCutGraph& graph, float anchorPercent, float endPercent) {
    const bool ascending = endPercent > anchorPercent;
    graph.upperPercent = ascending ? endPercent : anchorPercent;
    graph.lowerPercent = ascending ? anchorPercent : endPercent;
}
