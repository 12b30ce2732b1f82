#pragma once

#include <QObject>

#include <cstdint>

class CurvexProxy;
class QScrollBar;

// Couples the main window's scroll bar with the shown part of the graph: moving the scroll bar
// moves the part (change), and every full render of the graph reconfigures the scroll bar to the
// part it shows (reDrawed). Two flags keep the directions from feeding each other.
class ZoomScrollBar : public QObject {
    Q_OBJECT
public:
    ZoomScrollBar(QScrollBar& bar, CurvexProxy& viewer, QObject* parent = nullptr);

    // Takes the scroll bar's current maximum as the ceiling for every later maximum.
    void takeCeilingFromBar();
    // The scroll bar's value changed (a step, the end of a thumb drag, or set by the program):
    // moves the shown part to it.
    void change();
    // The graph was rendered showing lowerPercent..upperPercent of a range of distMax.
    void reDrawed(float lowerPercent, float upperPercent, float distMax);

    float shownWidth() const { return mShownWidth; }

private:
    // The scroll bar's steps for a shown span of `span` out of `distMax`, scaled so that the
    // scroll bar's maximum stays below the ceiling.
    float stepScale(float span, float distMax) const;
    void setMaximumFor(float span, float distMax);
    void setValueFor(float lowerPercent);

    QScrollBar& mBar;
    CurvexProxy& mViewer;
    std::int16_t mScrollCeiling = 0;
    float mShownWidth = 0.0f;
    bool mUpdatingScroll = false;
    bool mScrolling = false;
};
