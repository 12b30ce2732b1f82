#include "curvexaboutbox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kIconSize = 32;

} // namespace

CurvexAboutBox::CurvexAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Curvex Control"));
    auto* icon = new QLabel;
    icon->setPixmap(controlIcon());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(new QLabel(QStringLiteral("Curvex Control, Version 1.0")), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Chart of cutting monitoring data")), 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

QPixmap CurvexAboutBox::controlIcon() {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawLine(3, 3, 3, 28);
    painter.drawLine(3, 28, 28, 28);
    painter.setPen(QColor(0, 160, 0));
    const QPoint curve[] = {{4, 24}, {9, 14}, {14, 19}, {19, 8}, {24, 12}, {28, 5}};
    painter.drawPolyline(curve, static_cast<int>(std::size(curve)));
    return pixmap;
}
