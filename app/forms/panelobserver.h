#pragma once

#include <QString>
#include <QVariantList>

#include <cstdint>

// What a panel of the main window hears from it. The window keeps its panels in a PanelList and
// tells each of them every event in the order they were added; a panel overrides only what it
// needs.
class PanelObserver {
public:
    virtual ~PanelObserver() = default;

    // The window has read its own settings at start; the panel reads its own.
    virtual void settingsLoaded() {}
    // The window is writing its settings as it closes.
    virtual void settingsSaved() {}
    // The window shows `path` after a load; empty when it shows no file.
    virtual void fileShown(const QString& /*path*/) {}
    // The control drew the chart anew: range, data or quantity may have changed.
    virtual void chartRedrawn() {}
    // The G00 feed changed; the chart takes it at its next drawing.
    virtual void g00FeedChanged() {}
    // The control's read-out shows the values `values` of the record under the mouse.
    virtual void readOutShown(const QVariantList& /*values*/) {}
    // The read-out was taken away.
    virtual void readOutCleared() {}
    // The read-out marked record `index` of the data.
    virtual void recordMarked(std::int32_t /*index*/) {}
    // The control mapped the NC program to the data.
    virtual void programMapped() {}
    // The control reported an event of any kind: the chart, its mark or the data may have changed.
    virtual void controlChanged() {}
};
