#pragma once

#include <QDialog>

// The control's About box: its icon, name and version, and an OK button.
class CurvexAboutBox : public QDialog {
public:
    explicit CurvexAboutBox(QWidget* parent = nullptr);

    // The control's icon: a small chart.
    static QPixmap controlIcon();
};
