#pragma once

#include "filewatch.h"
#include "panelobserver.h"

#include <QList>
#include <QObject>
#include <QSize>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

class CurvexProxy;
class ProgramFile;
class ProgramView;
class QAction;
class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;
class QThread;

// The NC program of the shown data in the main window: the "Program" panel, a dock hidden until
// a program is found beside the data file (same base name in any case, the first of the endings
// kProgramEndings) or opened with File > "Open NC Program..." (last folder in section
// "NC Program" of the settings file). The program and its folder are watched, and the program is
// read again once it has stopped changing; one that is gone stays shown as it was read.
// It is linked to the chart both ways: a read-out record marks its line, and a click on a line
// marks a record of that line through the control, which maps records to lines. Both the panel
// and the control read the program in pieces on threads of their own: a program of millions of
// lines shows as soon as the panel has indexed its lines, and its lines are linked once the
// control has mapped it. Neither holds the program's text.
class ProgramPanel : public QObject, public PanelObserver {
    Q_OBJECT
public:
    // The panel for `window`, its open command in `fileMenu` after `after`; null when the
    // control cannot map records to lines.
    static ProgramPanel* attach(QMainWindow& window, CurvexProxy& viewer, QMenu& fileMenu,
                                QAction& after);
    ~ProgramPanel() override;

    // The program beside `dataPath` with the same base name, in any case, and the first ending
    // of the list that one has; empty when there is none.
    static QString programBeside(const QString& dataPath);

    // The window shows the data file `dataPath` now (empty: none).
    void dataShown(const QString& dataPath);
    // Starts reading the program, to show it and give it to the control once read; false when
    // it is no readable file.
    bool openProgram(const QString& path);
    // The control's read-out: record `index` is marked.
    void readOut(std::int32_t index);
    // The control has mapped the program to its data.
    void programMapped() override;
    // Whether a program is being read.
    bool reading() const { return mReadingSerial != 0; }
    // Whether the control has mapped the program given last.
    bool linked() const { return mLinked; }

    void fileShown(const QString& path) override { dataShown(path); }
    void recordMarked(std::int32_t index) override { readOut(index); }

    void mnuOpenProgram_Click();
    void mnuFindInProgram_Click();
    void mnuFindNext_Click();
    void mnuFindPrevious_Click();
    void mnuGoToLine_Click();
    // The text Find looks for, kept until the program ends.
    const QString& searchText() const { return mSearchText; }

    // The size the panel's content opens with: room for kFirstLines lines.
    QSize room() const;
    static constexpr int kFirstLines = 12;

    QDockWidget& dock() const { return *mDock; }
    ProgramView& view() const { return *mView; }
    QLabel& caption() const { return *mCaption; }
    QAction& mnuOpenProgram() const { return *mMnuOpenProgram; }

private:
    ProgramPanel(QMainWindow& window, CurvexProxy& viewer, QMenu& fileMenu, QAction& after);
    void addViewCommands(QMainWindow& window);
    void lineClicked(std::uint32_t line);
    // Marks the record of the marked `line` in the chart and the toolpath through the control.
    void markRecordOfLine(std::uint32_t line);
    void findAgain(bool forward);
    void showNone(const QString& text);
    void watch();
    void programChanged();
    void programGone();
    void startReading(const QString& path);
    void programRead(std::uint64_t serial, const QString& path, std::shared_ptr<ProgramFile> text,
                     int error);
    void showProgram(const QString& path, std::shared_ptr<ProgramFile> text);
    bool showsUnchanged(const QString& path) const;
    void markAgain();

    QMainWindow& mWindow;
    CurvexProxy& mViewer;
    QDockWidget* mDock = nullptr;
    QLabel* mCaption = nullptr;
    ProgramView* mView = nullptr;
    QAction* mMnuOpenProgram = nullptr;
    QString mSearchText;
    // The program shown and its version when shown.
    FileWatch mFile;
    QString mPath;
    std::optional<std::int32_t> mMarkedRecord;
    // The reading whose result is shown when it ends, 0 for none: a reading begun later wins.
    std::uint64_t mReadingSerial = 0;
    std::uint64_t mReadings = 0;
    QList<QThread*> mReaders;
    // Set when the panel goes: a reading under way stops within a piece of the file.
    std::shared_ptr<std::atomic<bool>> mClosing = std::make_shared<std::atomic<bool>>(false);
    bool mLinked = false;
    // The program's version when its reading began.
    std::optional<FileVersion> mReadVersion;
};
