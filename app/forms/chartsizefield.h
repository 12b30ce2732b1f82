#pragma once

#include <QSize>
#include <QWidget>

class QCheckBox;
class QSpinBox;

// The size of a saved chart in pixels: width and height, tied to the chart's aspect while
// "Keep aspect" is checked (the start), free otherwise.
class ChartSizeField : public QWidget {
public:
    explicit ChartSizeField(QWidget* parent = nullptr);

    // Shows `size` and takes its aspect as the one to keep.
    void setChartSize(QSize size);
    QSize chartSize() const;

    QSpinBox& widthBox() { return *mWidth; }
    QSpinBox& heightBox() { return *mHeight; }
    QCheckBox& keepAspectBox() { return *mKeepAspect; }

private:
    void widthChanged(int width);
    void heightChanged(int height);
    void keepAspectToggled(bool keep);
    void setQuietly(QSpinBox& box, double value);

    QSpinBox* mWidth;
    QSpinBox* mHeight;
    QCheckBox* mKeepAspect;
    double mAspect = 1.0; // width / height
    bool mAdjusting = false;
};
