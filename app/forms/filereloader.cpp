#include "filereloader.h"

#include "appstate.h"
#include "curvexproxy.h"
#include "varnutl.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

#include <sys/stat.h>

#include <utility>

namespace {

const QString kSection = QStringLiteral("Reload");
const QString kOnChange = QStringLiteral("On Change");
constexpr int kMessageMs = 10000;

} // namespace

FileReloader::FileReloader(CurvexProxy& viewer, QMainWindow& window, QMenu& fileMenu,
                           QAction& before, QMenu& configMenu)
    : QObject(&window), mViewer(viewer), mWindow(window) {
    mMnuReload = new QAction(QStringLiteral("Reload"), &fileMenu);
    mMnuReload->setShortcut(QKeySequence(Qt::Key_F5));
    fileMenu.insertAction(&before, mMnuReload);
    mMnuReloadOnChange = configMenu.addAction(QStringLiteral("Reload on Change"));
    mMnuReloadOnChange->setCheckable(true);
    mMnuReloadOnChange->setChecked(true);

    connect(mMnuReload, &QAction::triggered, this, &FileReloader::mnuReload_Click);
    connect(mMnuReloadOnChange, &QAction::triggered, this, &FileReloader::mnuReloadOnChange_Click);
    // The file stayed the same for the whole wait and differs from what was loaded. During a load
    // nothing is reloaded: the end of the load looks again.
    connect(&mFile, &FileWatch::changed, this, &FileReloader::reload);
}

// Anything but "0" keeps the reload on.
void FileReloader::load() {
    mMnuReloadOnChange->setChecked(ReadIniValue(kSection, kOnChange).trimmed() != u'0');
    watch();
}

void FileReloader::loadStarts(const QString& path) {
    mStarting = FileVersion::of(path);
    mFile.hold(true);
}

void FileReloader::fileShown(const QString& path, CutFormat format) {
    mFile.hold(false);
    mPath = path;
    mFormat = format;
    mFile.resetTo(path.isEmpty() ? std::nullopt : mStarting);
    mFile.stopWaiting();
    watch();
    reloadWhenChangedSince();
}

// The render after a reload showed the kept part; when the total length changed, the whole
// range is shown instead, after this render has finished.
void FileReloader::reDrawed(float distMax) {
    mDistMax = distMax;
    const std::optional<float> keptFor = std::exchange(mKeptFor, std::nullopt);
    if (keptFor && *keptFor != distMax)
        QTimer::singleShot(0, this, &FileReloader::showWholeRange);
}

void FileReloader::mnuReload_Click() {
    if (!mPath.isEmpty())
        reload();
}

void FileReloader::mnuReloadOnChange_Click() {
    WriteIniValue(kSection, kOnChange, mMnuReloadOnChange->isChecked() ? "1" : "0");
    watch();
}

// The file and its folder while the switch is on and a file is shown.
void FileReloader::watch() {
    mFile.watch(mPath, mMnuReloadOnChange->isChecked());
}

// A load starts from the whole range: the kept part is set again before the render, and after a
// failed load, so that the next render shows the old chart as it was.
void FileReloader::reload() {
    float lower = 0.0f;
    float upper = 100.0f;
    mViewer.getDistArea(lower, upper);
    mFile.setRead(FileVersion::of(mPath));
    mFile.hold(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = mViewer.loadCutData(mPath, mFormat);
    QApplication::restoreOverrideCursor();
    mFile.hold(false);
    mViewer.setDistArea(lower, upper);
    reloadWhenChangedSince();
    if (!loaded) {
        // A control that cannot say why gives no reason.
        const QString reason = mViewer.getLoadError().value_or(QString());
        showMessage(
            QStringLiteral("Reload of %1 failed: %2; the chart shows the data loaded before")
                .arg(mPath, reason.isEmpty() ? QStringLiteral("the file does not load") : reason));
        return;
    }
    mKeptFor = mDistMax;
    mViewer.setViewRenewal(true);
    mViewer.refresh();
    showMessage(QStringLiteral("Reloaded %1").arg(mPath));
}

// A file that changed since the version the last load read (during that load, or a change it
// failed on) is reloaded once it has settled, while the reload on change is on.
void FileReloader::reloadWhenChangedSince() {
    if (!mPath.isEmpty() && mMnuReloadOnChange->isChecked())
        mFile.waitIfChangedSinceRead();
}

void FileReloader::showWholeRange() {
    mViewer.setDistArea(0.0f, 100.0f);
    mViewer.setViewRenewal(true);
    mViewer.refresh();
}

void FileReloader::showMessage(const QString& text) {
    mWindow.statusBar()->showMessage(text, kMessageMs);
}
