#pragma once

#include <QWidget>

class PaperPicture;
class QLineEdit;
class QScrollBar;

// The print preview window: the page canvas of the print command inside a scrollable viewport.
// Writing a printer index into the PrinterIndex box sizes the paper to the current printer's page.
class FrmPrinter : public QWidget {
public:
    explicit FrmPrinter(QWidget* owner);

    // The screen's twips per pixel, horizontally and vertically.
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    void setPrinterIndexText(const QString& text);
    PaperPicture& paper() { return *mPctPaper; }
    float scrollScaleX() const { return mScrollScaleX; }
    float scrollScaleY() const { return mScrollScaleY; }
    QScrollBar& horizontalBar() { return *mHsc; }
    QScrollBar& verticalBar() { return *mVsc; }
    QWidget& viewport() { return *mPctFrame; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setUpPaper(const QString& indexText);
    void layOut();
    void scrollHorizontally(int value);
    void scrollVertically(int value);
    void placeTwips(QWidget* widget, double left, double top, double width, double height);

    QWidget* mPctFrame;
    PaperPicture* mPctPaper;
    QScrollBar* mHsc;
    QScrollBar* mVsc;
    QLineEdit* mPrinterIndex;
    float mScrollScaleX = 0;
    float mScrollScaleY = 0;
};
