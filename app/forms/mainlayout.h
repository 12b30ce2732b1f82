#pragma once

#include <QRect>
#include <QSize>

// Where the main window's graph, open button and scroll bar go for a given client area. All
// values are twips.
struct MainLayout {
    static constexpr int kMargin = 120;

    QRect graph;
    QRect button;
    QRect scrollBar;

    // The graph fills the client area less the margins; the button sits in the bottom-right
    // corner; the scroll bar runs from the graph's left edge to one tenth of the button's width
    // before the button, its top level with the button's.
    static MainLayout forClient(QSize client, QSize button, int scrollBarHeight);
    // The smallest outer size of the window: three button widths by five button heights.
    static QSize minimumWindowSize(QSize button);
};
