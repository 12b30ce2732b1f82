#include "mainlayout.h"

#include <algorithm>

MainLayout MainLayout::forClient(QSize client, QSize button, int scrollBarHeight) {
    MainLayout layout;
    const int graphTop = kMargin;
    const int graphLeft = kMargin;
    const int buttonTop = client.height() - kMargin - button.height();
    const int buttonLeft = client.width() - kMargin - button.width();
    const int graphWidth = client.width() - 2 * kMargin;
    const int graphHeight = buttonTop - 2 * kMargin;
    const int scrollLeft = graphLeft;
    const int scrollWidth = buttonLeft - scrollLeft - button.width() / 10;

    layout.graph = QRect(graphLeft, graphTop, graphWidth, graphHeight);
    layout.button = QRect(QPoint(buttonLeft, buttonTop), button);
    layout.scrollBar = QRect(scrollLeft, buttonTop, scrollWidth, scrollBarHeight);
    return layout;
}

QSize MainLayout::minimumWindowSize(QSize button) {
    constexpr int kLargest = 32767;
    return QSize(std::min(button.width() * 3, kLargest), std::min(button.height() * 5, kLargest));
}
