#include "toolpathpanel.h"

#include "numerictext.h"
#include "picturesave.h"
#include "picturewriter.h"
#include "surfaceregistry.h"
#include "toolpathcanvas.h"
#include "toolpathproxy.h"
#include "userprompts.h"
#include "varnutl.h"
#include "viewmenu.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

using curvex::ToolpathColourMode;
using curvex::ToolpathViewKind;

// View and colouring are kept in section "Toolpath", the dock's place with the window's docks.
const QString kSection = QStringLiteral("Toolpath");
// The canvas a toolpath opens with.
constexpr int kFirstCanvas = 330;
// The letters the colouring's box shows.
constexpr int kColourLetters = 12;

int keptNumber(const char* key, int defaultValue) {
    return toInt32(ReadIniValue(kSection, QLatin1String(key))).value_or(defaultValue);
}

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
    mBar = makeBar(feedChange);
    column->addWidget(mBar);
    column->addWidget(mCanvas, 1);
    mStatus = new QLabel(body);
    mStatus->setObjectName(QStringLiteral("toolpathStatus"));
    mStatus->hide();
    column->addWidget(mStatus);
    mDock->setWidget(body);
    window.addDockWidget(Qt::RightDockWidgetArea, mDock);
    mDock->hide();
    connect(mDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        mShown = mShown || visible;
        if (visible)
            showLeftOut();
    });
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
        auto* button = new QToolButton(bar);
        button->setText(QString::fromLatin1(name));
        button->setObjectName(QStringLiteral("toolpathView%1").arg(static_cast<int>(view)));
        connect(button, &QToolButton::clicked, this, [this, view] { chooseView(view); });
        row->addWidget(button);
    }
    mColour = new QComboBox(bar);
    mColour->setObjectName(QStringLiteral("toolpathColour"));
    // Narrow enough for a dock of the first width; the list opens as wide as its items.
    mColour->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    mColour->setMinimumContentsLength(kColourLetters);
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
    chooseView(static_cast<ToolpathViewKind>(std::clamp(keptNumber("View", kIso), kTop, kIso)));
    mColour->setCurrentIndex(
        std::clamp(keptNumber("Colour", kChartColours), kChartColours, mColour->count() - 1));
}

void ToolpathPanel::save() const {
    if (!mShown && ReadIniValue(kSection, QStringLiteral("View")).isEmpty())
        return;
    WriteIniValue(kSection, QStringLiteral("View"), QString::number(static_cast<int>(mView)));
    WriteIniValue(kSection, QStringLiteral("Colour"), QString::number(mColour->currentIndex()));
}

// Room for the status line too, so that the canvas keeps its first size when the line shows.
QSize ToolpathPanel::room() const {
    const QMargins margins = mDock->widget()->layout()->contentsMargins();
    const int spacing = mDock->widget()->layout()->spacing();
    return {kFirstCanvas + margins.left() + margins.right(),
            kFirstCanvas + mBar->sizeHint().height() + mStatus->fontMetrics().height() +
                2 * spacing + margins.top() + margins.bottom()};
}

void ToolpathPanel::refresh() {
    if (!mDock->isVisible())
        return;
    mCanvas->refresh();
    showLeftOut();
}

void ToolpathPanel::showLeftOut() {
    const std::int32_t leftOut = mToolpath->leftOut().value_or(0);
    mStatus->setText(leftOut > 0 ? QStringLiteral("segments left out: %1").arg(leftOut)
                                 : QString());
    mStatus->setVisible(leftOut > 0);
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

// The dialog of Save Chart As, its size field starting at the dock's size.
void ToolpathPanel::saveToolpathAs() {
    UserPrompts::ChartSaveRequest request;
    request.title = QStringLiteral("Save Toolpath As");
    request.fileName = QStringLiteral("toolpath.png");
    request.format = QStringLiteral("png");
    request.size = mCanvas->size().isEmpty() ? QSize(800, 600) : mCanvas->size();
    const std::optional<UserPrompts::ChartSaveChoice> choice = prompts().saveChart(request);
    if (!choice || choice->path.isEmpty())
        return;
    savePicture(picture(choice->size.isEmpty() ? request.size : choice->size), choice->path);
}
