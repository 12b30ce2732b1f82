#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <Qt>

#include <optional>

// Where one dock of the main window is kept: keys "<Name> Area" (a Qt::DockWidgetArea, 0 for a
// floating dock), "<Name> Visible", "<Name> Width", "<Name> Height" and "<Name> Order" of section
// "Docks", and for a floating dock the screen place of its top left corner, "<Name> Left" and
// "<Name> Top". A window that kept no dock there yet reads the dock's place once from the keys
// "Area", "Visible", "Floating", "Width" and "Height" of the dock's older section of its own.
class DockSettings {
public:
    // The section every dock is kept in.
    static const QString kSection;

    struct Place {
        Qt::DockWidgetArea area = Qt::NoDockWidgetArea; // none: floating
        bool visible = false;
        QSize size; // not valid when none was kept
        // The dock's row in its area (top to bottom, left to right) times 100, plus its tab in
        // that row.
        int order = 0;
        // Where a floating dock lies on the screen, when kept.
        std::optional<QPoint> position;
    };

    // `olderSection` empty: the dock had none.
    DockSettings(const QString& name, const QString& olderSection);

    const QString& name() const { return mName; }
    // Whether the dock was kept in section "Docks".
    bool kept() const;
    // The place kept in section "Docks", else (`docksKept` false) the one of the older section;
    // none when neither holds one.
    std::optional<Place> read(bool docksKept) const;
    void write(const Place& place) const;

private:
    std::optional<int> number(const QString& section, const QString& key) const;
    std::optional<Place> readKept() const;
    std::optional<Place> readOlder() const;

    QString mName;
    QString mOlderSection;
};
