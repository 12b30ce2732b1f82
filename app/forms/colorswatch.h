#pragma once

#include <QFrame>

#include <cstdint>

// One colour swatch of the drawing-colour dialog: shows a colour reference (0x00BBGGRR), takes
// the focus when clicked, and reports getting the focus and being double-clicked.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    std::uint32_t colorRef() const { return mColorRef; }
    void setColorRef(std::uint32_t colorRef);

signals:
    void gotFocus();
    void doubleClicked();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QSize sizeHint() const override;

private:
    std::uint32_t mColorRef = 0;
};
