#include "docklayout.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {

constexpr int kRow = 100;
constexpr Qt::DockWidgetArea kAreas[] = {Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea,
                                         Qt::TopDockWidgetArea, Qt::BottomDockWidgetArea};
// The share of the window's width a side of docks takes first, and the most it takes.
constexpr double kSideShare = 0.30;
constexpr double kMostSideShare = 0.42;
// The height the chart keeps above or below a row of docks that makes the window grow.
constexpr int kChartHeight = 300;

bool isSide(Qt::DockWidgetArea area) {
    return area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
}

} // namespace

DockLayout::DockLayout(QMainWindow& window) : QObject(&window), mWindow(window) {
    // The side docks run from the menu to the status bar; the bottom ones lie under the chart.
    window.setCorner(Qt::TopRightCorner, Qt::RightDockWidgetArea);
    window.setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    window.setCorner(Qt::TopLeftCorner, Qt::LeftDockWidgetArea);
    window.setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
}

void DockLayout::add(Dock dock) {
    const std::size_t index = mEntries.size();
    QDockWidget* widget = dock.dock;
    mEntries.push_back({dock, DockSettings(dock.name, dock.olderSection), homePlace(dock)});
    connect(widget, &QDockWidget::visibilityChanged, this, [this, index](bool visible) {
        if (visible)
            dockShown(mEntries[index]);
    });
    placeAll();
}

DockSettings::Place DockLayout::homePlace(const Dock& dock) const {
    DockSettings::Place place;
    place.area = dock.home;
    place.order = dock.homeOrder;
    return place;
}

void DockLayout::restore() {
    const bool docksKept = std::any_of(mEntries.begin(), mEntries.end(),
                                       [](const Entry& entry) { return entry.settings.kept(); });
    for (Entry& entry : mEntries) {
        entry.place = entry.settings.read(docksKept).value_or(homePlace(entry.dock));
        if (!docksKept && entry.place.area == entry.dock.home)
            entry.place.order = entry.dock.homeOrder;
        entry.unsized = true;
    }
    placeAll();
    for (Entry& entry : mEntries)
        entry.dock.dock->setVisible(entry.place.visible);
    // The first open dock of each row is the tab in front.
    std::map<std::pair<int, int>, Entry*> front;
    for (Entry& entry : mEntries) {
        if (!entry.place.visible || entry.place.area == Qt::NoDockWidgetArea)
            continue;
        Entry*& first = front[{entry.place.area, entry.place.order / kRow}];
        if (first == nullptr || entry.place.order < first->place.order)
            first = &entry;
    }
    for (const auto& row : front)
        row.second->dock.dock->raise();
}

// Every dock again in its area, row by row, each row's later docks as tabs of its first.
void DockLayout::placeAll() {
    std::vector<Entry*> order;
    for (Entry& entry : mEntries) {
        mWindow.removeDockWidget(entry.dock.dock);
        order.push_back(&entry);
    }
    std::stable_sort(order.begin(), order.end(), [](const Entry* a, const Entry* b) {
        return std::pair(a->place.area, a->place.order) < std::pair(b->place.area, b->place.order);
    });
    std::map<std::pair<int, int>, QDockWidget*> rows;
    for (Entry* entry : order) {
        QDockWidget* dock = entry->dock.dock;
        const Qt::DockWidgetArea area = entry->place.area;
        if (area == Qt::NoDockWidgetArea) {
            mWindow.addDockWidget(entry->dock.home, dock);
            placeFloating(*dock, entry->place);
            continue;
        }
        dock->setFloating(false);
        QDockWidget*& first = rows[{area, entry->place.order / kRow}];
        if (first != nullptr) {
            mWindow.tabifyDockWidget(first, dock);
            continue;
        }
        mWindow.addDockWidget(area, dock, isSide(area) ? Qt::Vertical : Qt::Horizontal);
        first = dock;
    }
}

// A floating dock at its size and place; a place on no screen (one since taken away) is left to
// the window system, so that the dock can be reached.
void DockLayout::placeFloating(QDockWidget& dock, const DockSettings::Place& place) {
    dock.setFloating(true);
    if (place.size.isValid())
        dock.resize(place.size);
    if (place.position && QGuiApplication::screenAt(*place.position) != nullptr)
        dock.move(*place.position);
}

// Sized once it shows, with the others that show with it.
void DockLayout::dockShown(Entry& entry) {
    entry.shown = true;
    if (!entry.unsized || mFitPending)
        return;
    mFitPending = true;
    QTimer::singleShot(0, this, [this] {
        mFitPending = false;
        fitUnsized();
    });
}

void DockLayout::fitUnsized() {
    std::vector<Entry*> sized;
    for (Entry& entry : mEntries) {
        if (entry.unsized && entry.dock.dock->isVisible()) {
            entry.unsized = false;
            if (!entry.dock.dock->isFloating() && !rowSized(entry))
                sized.push_back(&entry);
        }
    }
    if (sized.empty())
        return;
    growWindowFor(sized);
    for (const Qt::DockWidgetArea area : kAreas) {
        const bool touched = std::any_of(sized.begin(), sized.end(), [area](const Entry* entry) {
            return entry->place.area == area;
        });
        if (!touched)
            continue;
        if (isSide(area))
            sizeSide(shownRows(area));
        else
            sizeAcross(shownRows(area));
    }
}

// Whether a tab of `entry`'s row has been sized already: the row keeps the size it has.
bool DockLayout::rowSized(const Entry& entry) const {
    return std::any_of(mEntries.begin(), mEntries.end(), [&entry](const Entry& other) {
        return &other != &entry && other.shown && !other.unsized &&
               other.place.area == entry.place.area &&
               other.place.order / kRow == entry.place.order / kRow;
    });
}

// The size `entry` opens with: the one kept, else what its content wants, and below a row of tabs
// their bar.
QSize DockLayout::wantedSize(const Entry& entry) const {
    if (entry.place.size.isValid())
        return entry.place.size;
    const QDockWidget& dock = *entry.dock.dock;
    if (!entry.dock.room || dock.widget() == nullptr)
        return dock.sizeHint();
    // The dock's title bar and frame come on top of its content.
    const QSize size = entry.dock.room() + (dock.sizeHint() - dock.widget()->sizeHint());
    return size + QSize(0, hasTabs(entry) ? tabBarHeight() : 0);
}

bool DockLayout::hasTabs(const Entry& entry) const {
    return std::count_if(mEntries.begin(), mEntries.end(), [&entry](const Entry& other) {
               return other.place.area == entry.place.area &&
                      other.place.order / kRow == entry.place.order / kRow;
           }) > 1;
}

int DockLayout::tabBarHeight() {
    QTabBar bar;
    bar.addTab(QStringLiteral("Tab"));
    return bar.sizeHint().height();
}

int DockLayout::sideWidth(const Entry& entry) const {
    if (entry.place.size.isValid())
        return entry.place.size.width();
    const int share = static_cast<int>(std::lround(mWindow.width() * kSideShare));
    const int most = static_cast<int>(std::lround(mWindow.width() * kMostSideShare));
    return std::min(std::max(wantedSize(entry).width(), share), most);
}

// A window too small for the docks that open grows, at most to the screen's free area.
void DockLayout::growWindowFor(const std::vector<Entry*>& sized) {
    if (mWindow.isMaximized() || mWindow.isFullScreen())
        return;
    const int chrome = mWindow.menuBar()->height() +
                       (mWindow.statusBar()->isVisible() ? mWindow.statusBar()->height() : 0);
    QSize wanted = mWindow.size();
    std::map<int, int> sideHeights;
    for (const Entry* entry : sized) {
        const QSize size = wantedSize(*entry);
        if (isSide(entry->place.area)) {
            wanted.setWidth(
                std::max(wanted.width(), static_cast<int>(std::ceil(size.width() / kSideShare))));
            sideHeights[entry->place.area] += size.height();
        } else {
            wanted.setHeight(std::max(wanted.height(), size.height() + kChartHeight + chrome));
        }
    }
    for (const auto& [area, height] : sideHeights)
        wanted.setHeight(std::max(wanted.height(), height + chrome));
    const QScreen* screen = mWindow.screen();
    if (wanted == mWindow.size() || screen == nullptr)
        return;
    const QRect free = screen->availableGeometry();
    const QSize frame = mWindow.frameGeometry().size() - mWindow.size();
    const QSize most = free.size() - frame;
    const QSize size = wanted.boundedTo(most).expandedTo(mWindow.size().boundedTo(most));
    mWindow.resize(size);
    QRect place = mWindow.frameGeometry();
    place.moveLeft(std::clamp(place.left(), free.left(), free.right() + 1 - place.width()));
    place.moveTop(std::clamp(place.top(), free.top(), free.bottom() + 1 - place.height()));
    mWindow.move(place.topLeft());
}

// One width for the side, wide enough for every open dock of it, the tabs behind the front ones
// too; the first row takes the height the others leave.
void DockLayout::sizeSide(const std::vector<Entry*>& rows) {
    if (rows.empty())
        return;
    QList<QDockWidget*> docks;
    QList<int> widths;
    QList<int> heights;
    int width = 0;
    for (const Entry& entry : mEntries) {
        const QDockWidget& dock = *entry.dock.dock;
        if (entry.place.area == rows.front()->place.area && !dock.isHidden() && !dock.isFloating())
            width = std::max(width, sideWidth(entry));
    }
    int others = 0;
    for (const Entry* entry : rows) {
        docks.append(entry->dock.dock);
        widths.append(width);
        heights.append(wantedSize(*entry).height());
        if (entry != rows.front())
            others += heights.back();
    }
    const int column = mWindow.height() - mWindow.menuBar()->height() -
                       (mWindow.statusBar()->isVisible() ? mWindow.statusBar()->height() : 0);
    const int separators = (static_cast<int>(rows.size()) - 1) *
                           mWindow.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent);
    if (!rows.front()->place.size.isValid())
        heights.front() = std::max(rows.front()->dock.dock->minimumSizeHint().height(),
                                   column - others - separators);
    mWindow.resizeDocks(docks, widths, Qt::Horizontal);
    if (docks.size() > 1)
        mWindow.resizeDocks(docks, heights, Qt::Vertical);
}

void DockLayout::sizeAcross(const std::vector<Entry*>& rows) {
    if (rows.empty())
        return;
    QList<QDockWidget*> docks;
    QList<int> heights;
    for (const Entry* entry : rows) {
        docks.append(entry->dock.dock);
        heights.append(wantedSize(*entry).height());
    }
    mWindow.resizeDocks(docks, heights, Qt::Vertical);
}

std::vector<DockLayout::Entry*> DockLayout::shownRows(Qt::DockWidgetArea area) {
    std::map<int, Entry*> rows;
    for (Entry& entry : mEntries) {
        if (entry.place.area != area || !entry.dock.dock->isVisible() ||
            entry.dock.dock->isFloating())
            continue;
        Entry*& first = rows[entry.place.order / kRow];
        if (first == nullptr)
            first = &entry;
    }
    std::vector<Entry*> result;
    for (const auto& row : rows)
        result.push_back(row.second);
    return result;
}

// A window whose docks never showed and were never kept leaves the settings file as it was.
void DockLayout::save() const {
    const bool used = std::any_of(mEntries.begin(), mEntries.end(), [](const Entry& entry) {
        return entry.shown || entry.settings.kept();
    });
    if (!used)
        return;
    std::vector<int> orders(mEntries.size(), 0);
    for (const Qt::DockWidgetArea area : kAreas)
        orderRows(area, orders);
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        const Entry& entry = mEntries[i];
        const QDockWidget& dock = *entry.dock.dock;
        DockSettings::Place place;
        place.area =
            dock.isFloating() ? Qt::NoDockWidgetArea : mWindow.dockWidgetArea(entry.dock.dock);
        place.visible = !dock.isHidden();
        place.size = entry.shown ? dock.size() : entry.place.size;
        place.order = orders[i];
        if (dock.isFloating())
            place.position = dock.pos();
        entry.settings.write(place);
    }
}

// Docks that have shown lie in rows by their place on the screen, the tabs of a row at one place;
// a row keeps the number it had when that still follows the rows before it. A dock that never
// showed keeps its order.
void DockLayout::orderRows(Qt::DockWidgetArea area, std::vector<int>& orders) const {
    std::map<int, std::vector<std::size_t>> rows; // by place along the area
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        const Entry& entry = mEntries[i];
        const QDockWidget& dock = *entry.dock.dock;
        if (dock.isFloating() || mWindow.dockWidgetArea(entry.dock.dock) != area)
            continue;
        if (!entry.shown) {
            orders[i] = entry.place.order;
            continue;
        }
        rows[isSide(area) ? dock.y() : dock.x()].push_back(i);
    }
    int last = -1;
    for (const auto& [along, members] : rows) {
        int row = last + 1;
        for (const std::size_t i : members) {
            if (mEntries[i].place.area == area)
                row = std::max(row, mEntries[i].place.order / kRow);
        }
        for (std::size_t tab = 0; tab < members.size(); ++tab)
            orders[members[tab]] = row * kRow + static_cast<int>(tab);
        last = row;
    }
}
