#include "zoomscrollbar.h"

#include "curvexproxy.h"

#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

// A scroll-bar property from a number: rounded, halves to even, within the 16-bit range.
std::int16_t scrollProperty(double value) {
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}

} // namespace

ZoomScrollBar::ZoomScrollBar(QScrollBar& bar, CurvexProxy& viewer, QObject* parent)
    : QObject(parent), mBar(bar), mViewer(viewer) {
    // The shown part follows the thumb when a drag ends, not while it is dragged.
    mBar.setTracking(false);
}

void ZoomScrollBar::takeCeilingFromBar() {
    mScrollCeiling = scrollProperty(mBar.maximum());
    mUpdatingScroll = false;
}

void ZoomScrollBar::change() {
    if (mUpdatingScroll) {
        return;
    }
    mViewer.setViewRenewal(true);
    mScrolling = true;

    const int maximum = mBar.maximum();
    const long double position =
        maximum == 0 ? 0.0L : static_cast<long double>(mBar.value()) / maximum;
    const float widthAndHundred = mShownWidth + 100.0f;
    float lower = static_cast<float>(position / widthAndHundred * 10000.0L);
    float upper = lower + mShownWidth;
    if (upper > 100.0f) {
        upper = 100.0f;
        lower = 100.0f - mShownWidth;
    }
    mViewer.setDistArea(lower, upper);
    mViewer.refresh();

    mScrolling = false;
}

void ZoomScrollBar::reDrawed(float lowerPercent, float upperPercent, float distMax) {
    mShownWidth = upperPercent - lowerPercent;
    const float span = static_cast<float>(static_cast<double>(mShownWidth * distMax) * 0.01);
    const float scale = stepScale(span, distMax);
    const double smallStep = std::floor(span * 0.01 * scale) + 1.0;
    const double largeStep = std::floor(span * 0.8 * scale) + 1.0;

    mUpdatingScroll = true;
    mBar.setEnabled(false);
    mBar.setSingleStep(scrollProperty(smallStep));
    mBar.setPageStep(scrollProperty(largeStep));
    setMaximumFor(span, distMax);
    mBar.setMinimum(0);
    if (!mScrolling) {
        setValueFor(lowerPercent);
    }
    mBar.setEnabled(true);
    mUpdatingScroll = false;
}

float ZoomScrollBar::stepScale(float span, float distMax) const {
    const int stepsBelowCeiling = mScrollCeiling - 1;
    float scale = 1.0f;
    if (std::floor(span * 0.8) + 1.0 >= stepsBelowCeiling) {
        scale = static_cast<float>(stepsBelowCeiling / (span * 0.8));
    }
    const float rest = distMax - span;
    if (static_cast<float>(std::floor(rest * scale) + 1.0f) >= stepsBelowCeiling) {
        scale = static_cast<float>(stepsBelowCeiling / static_cast<double>(rest));
    }
    return scale;
}

void ZoomScrollBar::setMaximumFor(float span, float distMax) {
    const float rest = distMax - span;
    mBar.setMaximum(rest < mScrollCeiling ? scrollProperty(rest) : mScrollCeiling);
}

void ZoomScrollBar::setValueFor(float lowerPercent) {
    const float hiddenWidth = 100.0f - mShownWidth;
    if (hiddenWidth <= 0.0f) {
        mBar.setValue(0);
        return;
    }
    const float position = static_cast<float>(mBar.maximum()) * lowerPercent / hiddenWidth;
    mBar.setValue(scrollProperty(std::floor(position)));
}
