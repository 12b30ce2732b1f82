#pragma once

#include "cutformat.h"
#include "filewatch.h"

#include <QObject>

#include <optional>

class CurvexProxy;
class QAction;
class QMainWindow;
class QMenu;

// Reloads the shown file when it changes on disk, once it has stopped changing, and by hand
// (File > Reload, F5). The folder is watched as well, so that a file replaced by delete and rename
// is found again. A reload keeps the shown part when the new data has the same total length, and
// a reload that fails keeps the old chart and says why in the status bar. The automatic reload
// is switched in the Config menu and kept in section "Reload" of the settings file.
class FileReloader : public QObject {
    Q_OBJECT
public:
    FileReloader(CurvexProxy& viewer, QMainWindow& window, QMenu& fileMenu, QAction& before,
                 QMenu& configMenu);

    // Reads the switch from the settings file in use.
    void load();
    // The window is about to load `path`: the version it will read is noted now, so that a change
    // during the load is reloaded after it. No reload starts until fileShown().
    void loadStarts(const QString& path);
    // The window shows `path` now, loaded in `format` (empty: nothing), as it was when
    // loadStarts() was called.
    void fileShown(const QString& path, CutFormat format);
    // The chart was rendered for a total length of `distMax`.
    void reDrawed(float distMax);

    QAction& mnuReload() const { return *mMnuReload; }
    QAction& mnuReloadOnChange() const { return *mMnuReloadOnChange; }

    void mnuReload_Click();
    void mnuReloadOnChange_Click();

private:
    void watch();
    void reload();
    void reloadWhenChangedSince();
    void showWholeRange();
    void showMessage(const QString& text);

    CurvexProxy& mViewer;
    QMainWindow& mWindow;
    QAction* mMnuReload = nullptr;
    QAction* mMnuReloadOnChange = nullptr;
    // The file shown; the version read by the last load, taken before the load began.
    FileWatch mFile;
    QString mPath;
    CutFormat mFormat = CutFormat::Binary;
    std::optional<FileVersion> mStarting;
    float mDistMax = 0.0f;
    // The total length before a reload, until the render that follows it.
    std::optional<float> mKeptFor;
};
