#include "chartsizefield.h"

#include "chartoutput.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <cmath>

namespace {

QSpinBox* sideBox(QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(1, kMaxChartSide);
    box->setSuffix(QStringLiteral(" px"));
    return box;
}

} // namespace

ChartSizeField::ChartSizeField(QWidget* parent)
    : QWidget(parent), width_(sideBox(this)), height_(sideBox(this)),
      keepAspect_(new QCheckBox(QStringLiteral("Keep aspect"), this)) {
    keepAspect_->setChecked(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(width_);
    layout->addWidget(new QLabel(QStringLiteral("x"), this));
    layout->addWidget(height_);
    layout->addWidget(keepAspect_);
    layout->addStretch();
    connect(width_, &QSpinBox::valueChanged, this, &ChartSizeField::widthChanged);
    connect(height_, &QSpinBox::valueChanged, this, &ChartSizeField::heightChanged);
    connect(keepAspect_, &QCheckBox::toggled, this, &ChartSizeField::keepAspectToggled);
}

void ChartSizeField::setChartSize(QSize size) {
    if (size.isEmpty())
        return;
    aspect_ = static_cast<double>(size.width()) / size.height();
    setQuietly(*width_, size.width());
    setQuietly(*height_, size.height());
}

QSize ChartSizeField::chartSize() const {
    return {width_->value(), height_->value()};
}

void ChartSizeField::widthChanged(int width) {
    if (!adjusting_ && keepAspect_->isChecked())
        setQuietly(*height_, width / aspect_);
}

void ChartSizeField::heightChanged(int height) {
    if (!adjusting_ && keepAspect_->isChecked())
        setQuietly(*width_, height * aspect_);
}

// Checking the box again keeps the aspect the two fields have then.
void ChartSizeField::keepAspectToggled(bool keep) {
    if (keep)
        aspect_ = static_cast<double>(width_->value()) / height_->value();
}

void ChartSizeField::setQuietly(QSpinBox& box, double value) {
    adjusting_ = true;
    box.setValue(static_cast<int>(std::lround(value)));
    adjusting_ = false;
}
