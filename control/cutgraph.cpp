#include "cutgraph.h"

#include "curvexmodule.h"

CCutGraph::CCutGraph() {
    for (int n = 0; n < kCurveColours; ++n)
        colours[n] = defaultCurveColour(n);
}

// The graph object releases the shared data set when it goes, as the control does.
CCutGraph::~CCutGraph() {
    FreeCutData(curvexModule().data);
}
