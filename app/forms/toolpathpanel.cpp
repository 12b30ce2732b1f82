#include "toolpathpanel.h"

#include "docksettings.h"
#include "picturesave.h"
#include "picturewriter.h"
#include "surfaceregistry.h"
#include "toolpathcanvas.h"
#include "toolpathproxy.h"
#include "userprompts.h"
#include "viewmenu.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

using curvex::ToolpathColourMode;
using curvex::ToolpathViewKind;

// Kept in section "Toolpath"; on the right until the user moves it.
const DockSettings kPlace(QStringLiteral("Toolpath"), Qt::RightDockWidgetArea, false);

// The buttons of the views, in their order; the colourings' list follows ToolpathColourMode.
constexpr std::pair<const char*, ToolpathViewKind> kViews[] = {{"Top", ToolpathViewKind::Top},
                                                               {"Front", ToolpathViewKind::Front},
                                                               {"Right", ToolpathViewKind::Right},
                                                               {"Iso", ToolpathViewKind::Iso}};
constexpr int kTop = static_cast<int>(ToolpathViewKind::Top);
constexpr int kIso = static_cast<int>(ToolpathViewKind::Iso);
constexpr int kChartColours = static_cast<int>(ToolpathColourMode::Chart);

} // namespace

ToolpathPanel* ToolpathPanel::attach(QMainWindow& window, CurvexProxy& viewer) {
    auto toolpath = std::make_unique<ToolpathProxy>(viewer);
    if (!toolpath->setView(ToolpathViewKind::Iso))
        return nullptr;
    // A control that refuses the feed change's colouring gets no entry for it.
    const bool feedChange = toolpath->setColour(ToolpathColourMode::FeedChange).value_or(false);
    toolpath->setColour(ToolpathColourMode::Chart);
    return new ToolpathPanel(window, std::move(toolpath), feedChange);
}

ToolpathPanel::ToolpathPanel(QMainWindow& window, std::unique_ptr<ToolpathProxy> toolpath,
                             bool feedChange)
    : QObject(&window), mWindow(window), mToolpath(std::move(toolpath)) {
    mDock = new QDockWidget(QStringLiteral("Toolpath"), &window);
    mDock->setObjectName(QStringLiteral("toolpath"));
    auto* body = new QWidget(mDock);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(2, 2, 2, 2);
    mCanvas = new ToolpathCanvas(*mToolpath, body);
    column->addWidget(makeBar(feedChange));
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
    connect(saveAs, &QAction::triggered, this, &ToolpathPanel::saveToolpathAs);
}

ToolpathPanel::~ToolpathPanel() = default;

// One button per view and the colouring.
QWidget* ToolpathPanel::makeBar(bool feedChange) {
    auto* bar = new QWidget(mDock);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    for (const auto& [name, view] : kViews) {
        auto* button = new QPushButton(QString::fromLatin1(name), bar);
        button->setObjectName(QStringLiteral("toolpathView%1").arg(static_cast<int>(view)));
        connect(button, &QPushButton::clicked, this, [this, view] { chooseView(view); });
        row->addWidget(button);
    }
    mColour = new QComboBox(bar);
    mColour->setObjectName(QStringLiteral("toolpathColour"));
    mColour->addItems({QStringLiteral("Chart colours"), QStringLiteral("Removal"),
                       QStringLiteral("Removal/s programmed"),
                       QStringLiteral("Removal/s optimised")});
    if (feedChange)
        mColour->addItem(QStringLiteral("Feed change"));
    connect(mColour, &QComboBox::currentIndexChanged, this, &ToolpathPanel::chooseColour);
    row->addWidget(mColour);
    row->addStretch(1);
    return bar;
}

void ToolpathPanel::chooseView(ToolpathViewKind view) {
    mView = view;
    mCanvas->showView(view);
}

void ToolpathPanel::chooseColour(int mode) {
    mToolpath->setColour(static_cast<ToolpathColourMode>(mode));
    mCanvas->refresh();
}

void ToolpathPanel::load() {
    const QSize size = kPlace.place(mWindow, *mDock).size;
    if (mDock->isFloating() && size.isValid())
        mDock->resize(size);
    kPlace.show(*mDock);
    chooseView(static_cast<ToolpathViewKind>(std::clamp(kPlace.number("View", kIso), kTop, kIso)));
    mColour->setCurrentIndex(
        std::clamp(kPlace.number("Colour", kChartColours), kChartColours, mColour->count() - 1));
}

void ToolpathPanel::save() const {
    if (mDock->isHidden() && !kPlace.saved())
        return;
    kPlace.save(mWindow, *mDock);
    kPlace.setNumber("View", static_cast<int>(mView));
    kPlace.setNumber("Colour", mColour->currentIndex());
}

void ToolpathPanel::refresh() {
    if (mDock->isVisible())
        mCanvas->refresh();
}

QString ToolpathPanel::writeToolpath(const QString& path, QSize size) {
    return picture(size).writeFile(path);
}

// The toolpath at `size` as the control draws it, on an image or on a document's device.
PictureWriter ToolpathPanel::picture(QSize size) {
    return PictureWriter(QStringLiteral("toolpath"), size, [this, size](QPaintDevice& device) {
        const component::SurfaceRegistry::Entry surface(&device);
        return mToolpath->draw(surface.handle(), size).value_or(false);
    });
}

void ToolpathPanel::saveToolpathAs() {
    const QString path = prompts().saveFile(
        {QStringLiteral("Save Toolpath As"),
         {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)"),
          QStringLiteral("PDF document (*.pdf)")},
         QStringLiteral("toolpath.png")});
    if (path.isEmpty())
        return;
    savePicture(picture(mCanvas->size().isEmpty() ? QSize(800, 600) : mCanvas->size()), path);
}
