#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>

// The paper of the print preview window: a picture box of the page's physical size (kept in
// twips) whose canvas keeps what is drawn on it, so it can be shown and printed afterwards.
class PaperPicture : public QWidget {
public:
    PaperPicture(double twipsPerPixel, QWidget* parent);

    // Sizes the paper; the canvas becomes a blank page of the matching pixel size.
    void setPaperSize(double widthTwips, double heightTwips);
    double widthTwips() const { return widthTwips_; }
    double heightTwips() const { return heightTwips_; }

    // The page's coordinate system: origin and extent in the printer's units.
    void setScale(const QRectF& scale) { scale_ = scale; }
    QRectF scale() const { return scale_; }

    // Places the paper's left or top edge inside its viewport, in twips.
    void setLeftTwips(double leftTwips);
    void setTopTwips(double topTwips);

    // The canvas that drawing goes to and that is printed.
    QImage& canvas() { return canvas_; }
    const QImage& canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void clearCanvas();

    double twipsPerPixel_;
    double widthTwips_ = 0;
    double heightTwips_ = 0;
    QRectF scale_;
    QImage canvas_;
};
