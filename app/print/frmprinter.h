#pragma once

#include <QWidget>

class PaperPicture;
class QLineEdit;
class QScrollBar;

// The print preview window: the page canvas of the print command inside a scrollable viewport.
// Writing a printer index into PrinterIndex sizes the paper to the current printer's page.
class FrmPrinter : public QWidget {
public:
    explicit FrmPrinter(QWidget* owner);

    // The screen's twips per pixel, horizontally and vertically.
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    void setPrinterIndexText(const QString& text);
    PaperPicture& paper() { return *pctPaper; }
    float scrollScaleX() const { return scrollScaleX_; }
    float scrollScaleY() const { return scrollScaleY_; }
    QScrollBar& horizontalBar() { return *hsc; }
    QScrollBar& verticalBar() { return *vsc; }
    QWidget& viewport() { return *pctFrame; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setUpPaper(const QString& indexText);
    void layOut();
    void scrollHorizontally(int value);
    void scrollVertically(int value);
    void placeTwips(QWidget* widget, double left, double top, double width, double height);

    QWidget* pctFrame;
    PaperPicture* pctPaper;
    QScrollBar* hsc;
    QScrollBar* vsc;
    QLineEdit* PrinterIndex;
    float scrollScaleX_ = 0;
    float scrollScaleY_ = 0;
};
