#include "chartsizefield.h"

#include "curvexids.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <cmath>

namespace {

QSpinBox* sideBox(QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(1, curvex::kMaxChartSide);
    box->setSuffix(QStringLiteral(" px"));
    return box;
}

} // namespace

ChartSizeField::ChartSizeField(QWidget* parent)
    : QWidget(parent), mWidth(sideBox(this)), mHeight(sideBox(this)),
      mKeepAspect(new QCheckBox(QStringLiteral("Keep aspect"), this)) {
    mKeepAspect->setChecked(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mWidth);
    layout->addWidget(new QLabel(QStringLiteral("x"), this));
    layout->addWidget(mHeight);
    layout->addWidget(mKeepAspect);
    layout->addStretch();
    connect(mWidth, &QSpinBox::valueChanged, this, &ChartSizeField::widthChanged);
    connect(mHeight, &QSpinBox::valueChanged, this, &ChartSizeField::heightChanged);
    connect(mKeepAspect, &QCheckBox::toggled, this, &ChartSizeField::keepAspectToggled);
}

void ChartSizeField::setChartSize(QSize size) {
    if (size.isEmpty())
        return;
    mAspect = static_cast<double>(size.width()) / size.height();
    setQuietly(*mWidth, size.width());
    setQuietly(*mHeight, size.height());
}

QSize ChartSizeField::chartSize() const {
    return {mWidth->value(), mHeight->value()};
}

void ChartSizeField::widthChanged(int width) {
    if (!mAdjusting && mKeepAspect->isChecked())
        setQuietly(*mHeight, width / mAspect);
}

void ChartSizeField::heightChanged(int height) {
    if (!mAdjusting && mKeepAspect->isChecked())
        setQuietly(*mWidth, height * mAspect);
}

// Checking the box again keeps the aspect the two fields have then.
void ChartSizeField::keepAspectToggled(bool keep) {
    if (keep)
        mAspect = static_cast<double>(mWidth->value()) / mHeight->value();
}

void ChartSizeField::setQuietly(QSpinBox& box, double value) {
    mAdjusting = true;
    box.setValue(static_cast<int>(std::lround(value)));
    mAdjusting = false;
}
