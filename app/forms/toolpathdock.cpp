#include "toolpathdock.h"

#include "chartdocument.h"
#include "numerictext.h"
#include "shownfiles.h"
#include "surfaceregistry.h"
#include "toolpathcanvas.h"
#include "toolpathproxy.h"
#include "varnutl.h"
#include "viewmenu.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Toolpath");

int readNumber(const char* key, int defaultValue) {
    return toInt32(ReadIniValue(kSection, QString::fromLatin1(key))).value_or(defaultValue);
}

void writeNumber(const char* key, int value) {
    WriteIniValue(kSection, QString::fromLatin1(key), QString::number(value));
}

Qt::DockWidgetArea areaFrom(int value) {
    switch (value) {
    case Qt::LeftDockWidgetArea:
    case Qt::TopDockWidgetArea:
    case Qt::BottomDockWidgetArea:
        return static_cast<Qt::DockWidgetArea>(value);
    default:
        return Qt::RightDockWidgetArea;
    }
}

} // namespace

ToolpathDock* ToolpathDock::attach(QMainWindow& window, CurvexProxy& viewer) {
    auto toolpath = std::make_unique<ToolpathProxy>(viewer);
    if (!toolpath->setView(3))
        return nullptr;
    return new ToolpathDock(window, std::move(toolpath));
}

ToolpathDock::ToolpathDock(QMainWindow& window, std::unique_ptr<ToolpathProxy> toolpath)
    : QObject(&window), mWindow(window), mToolpath(std::move(toolpath)) {
    mDock = new QDockWidget(QStringLiteral("Toolpath"), &window);
    mDock->setObjectName(QStringLiteral("toolpath"));
    auto* body = new QWidget(mDock);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(2, 2, 2, 2);
    mCanvas = new ToolpathCanvas(*mToolpath, body);
    column->addWidget(makeBar());
    column->addWidget(mCanvas, 1);
    mDock->setWidget(body);
    window.addDockWidget(Qt::RightDockWidgetArea, mDock);
    mDock->hide();
    mMenu = &ViewMenu(window);
    mMenu->addSeparator();
    QAction* toggle = mDock->toggleViewAction();
    toggle->setText(QStringLiteral("Toolpath"));
    mMenu->addAction(toggle);
    QAction* saveAs = mMenu->addAction(QStringLiteral("Save Toolpath As…"));
    connect(saveAs, &QAction::triggered, this, &ToolpathDock::saveToolpathAs);
}

ToolpathDock::~ToolpathDock() = default;

// One button per view and the colouring.
QWidget* ToolpathDock::makeBar() {
    auto* bar = new QWidget(mDock);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const char* names[] = {"Top", "Front", "Right", "Iso"};
    for (int view = 0; view < 4; ++view) {
        auto* button = new QPushButton(QString::fromLatin1(names[view]), bar);
        button->setObjectName(QStringLiteral("toolpathView%1").arg(view));
        connect(button, &QPushButton::clicked, this, [this, view] { chooseView(view); });
        row->addWidget(button);
    }
    mColour = new QComboBox(bar);
    mColour->setObjectName(QStringLiteral("toolpathColour"));
    mColour->addItems({QStringLiteral("Chart colours"), QStringLiteral("Removal"),
                       QStringLiteral("Removal/s programmed"),
                       QStringLiteral("Removal/s optimised")});
    connect(mColour, &QComboBox::currentIndexChanged, this, &ToolpathDock::chooseColour);
    row->addWidget(mColour);
    row->addStretch(1);
    return bar;
}

void ToolpathDock::chooseView(int view) {
    mView = view;
    mCanvas->showView(view);
}

void ToolpathDock::chooseColour(int mode) {
    mToolpath->setColour(mode);
    mCanvas->refresh();
}

void ToolpathDock::load() {
    const Qt::DockWidgetArea area = areaFrom(readNumber("Area", Qt::RightDockWidgetArea));
    mWindow.addDockWidget(area, mDock);
    mDock->setFloating(readNumber("Floating", 0) != 0);
    const int width = readNumber("Width", 0);
    const int height = readNumber("Height", 0);
    if (mDock->isFloating() && width > 0 && height > 0)
        mDock->resize(width, height);
    mDock->setVisible(readNumber("Visible", 0) != 0);
    chooseView(std::clamp(readNumber("View", 3), 0, 3));
    mColour->setCurrentIndex(std::clamp(readNumber("Colour", 0), 0, 3));
}

void ToolpathDock::save() const {
    if (mDock->isHidden() && ReadIniValue(kSection, QStringLiteral("Visible")).isEmpty())
        return;
    writeNumber("Visible", mDock->isHidden() ? 0 : 1);
    writeNumber("Area", mWindow.dockWidgetArea(mDock));
    writeNumber("Floating", mDock->isFloating() ? 1 : 0);
    writeNumber("Width", mDock->width());
    writeNumber("Height", mDock->height());
    writeNumber("View", mView);
    writeNumber("Colour", mColour->currentIndex());
}

void ToolpathDock::refresh() {
    if (mDock->isVisible())
        mCanvas->refresh();
}

QString ToolpathDock::writeToolpath(const QString& path, QSize size) {
    const auto format = chartFormatOf(path);
    if (!format)
        return QStringLiteral("the file must end in .png, .svg or .pdf");
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    bool drawn = false;
    if (*format == ChartFormat::Png) {
        QImage image(size, QImage::Format_RGB32);
        const component::SurfaceRegistry::Entry surface(&image);
        drawn =
            mToolpath->draw(surface.handle(), size).value_or(false) && image.save(&document, "PNG");
    } else {
        drawn = writeVectorChart(document, *format, size, [&](QPaintDevice& device) {
            const component::SurfaceRegistry::Entry surface(&device);
            return mToolpath->draw(surface.handle(), size).value_or(false);
        });
    }
    if (!drawn)
        return QStringLiteral("the toolpath could not be drawn");
    return QString::fromStdString(replaceChartFile(path.toStdString(), document.data()));
}

void ToolpathDock::saveToolpathAs() {
    const QString path = QFileDialog::getSaveFileName(
        &mWindow, QStringLiteral("Save Toolpath As"), QStringLiteral("toolpath.png"),
        QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"));
    if (path.isEmpty())
        return;
    const QSize size = mCanvas->size().isEmpty() ? QSize(800, 600) : mCanvas->size();
    QString reason = shownFileRefusal(path);
    if (reason.isEmpty())
        reason = writeToolpath(path, size);
    if (!reason.isEmpty())
        mWindow.statusBar()->showMessage(QStringLiteral("Cannot save %1: %2").arg(path, reason));
}
