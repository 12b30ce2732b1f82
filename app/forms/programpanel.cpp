#include "programpanel.h"

#include "appstate.h"
#include "curvexproxy.h"
#include "filenametext.h"
#include "programfile.h"
#include "programtext.h"
#include "programview.h"
#include "recordlines.h"
#include "userprompts.h"
#include "varnutl.h"
#include "viewmenu.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QThread>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("NC Program");
const QStringList kProgramEndings = {
    QStringLiteral("nc"),  QStringLiteral("ngc"), QStringLiteral("tap"),
    QStringLiteral("mpf"), QStringLiteral("cnc"), QStringLiteral("gcode"),
    QStringLiteral("iso"), QStringLiteral("min"), QStringLiteral("eia"),
};

// The program's name and size; a program without any block number says that its lines are
// matched by block number.
QString captionOf(const QString& path, const ProgramFile& program) {
    QString text = QStringLiteral("%1  (%2 lines)")
                       .arg(QDir::toNativeSeparators(path))
                       .arg(program.lineCount());
    if (!program.numbered())
        text += QStringLiteral("  ") + QString::fromLatin1(kUnnumberedProgramNote);
    return text;
}

} // namespace

ProgramPanel* ProgramPanel::attach(QMainWindow& window, CurvexProxy& viewer, QMenu& fileMenu,
                                   QAction& after) {
    if (!viewer.getRecordLine(0))
        return nullptr;
    return new ProgramPanel(window, viewer, fileMenu, after);
}

ProgramPanel::ProgramPanel(QMainWindow& window, CurvexProxy& viewer, QMenu& fileMenu,
                           QAction& after)
    : QObject(&window), mWindow(window), mViewer(viewer) {
    mDock = new QDockWidget(QStringLiteral("Program"), &window);
    mDock->setObjectName(QStringLiteral("ncProgram"));
    auto* content = new QWidget(mDock);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    mCaption = new QLabel(content);
    mView = new ProgramView(content);
    layout->addWidget(mCaption);
    layout->addWidget(mView);
    mDock->setWidget(content);
    window.addDockWidget(Qt::RightDockWidgetArea, mDock);
    mDock->hide();
    mMnuOpenProgram = new QAction(QStringLiteral("Open NC Program..."), &fileMenu);
    const QList<QAction*> items = fileMenu.actions();
    const qsizetype at = items.indexOf(&after);
    fileMenu.insertAction(at >= 0 && at + 1 < items.size() ? items.at(at + 1) : nullptr,
                          mMnuOpenProgram);
    connect(mMnuOpenProgram, &QAction::triggered, this, &ProgramPanel::mnuOpenProgram_Click);
    addViewCommands(window);
    connect(mView, &ProgramView::lineClicked, this, &ProgramPanel::lineClicked);
    connect(&mFile, &FileWatch::changed, this, &ProgramPanel::programChanged);
    connect(&mFile, &FileWatch::gone, this, &ProgramPanel::programGone);
}

// A reading still running is stopped and ends before the panel goes.
ProgramPanel::~ProgramPanel() {
    mClosing->store(true);
    for (QThread* reader : std::as_const(mReaders))
        reader->wait();
}

void ProgramPanel::addViewCommands(QMainWindow& window) {
    QMenu& view = ViewMenu(window);
    QAction* find = view.addAction(QStringLiteral("Find in Program..."));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, &ProgramPanel::mnuFindInProgram_Click);
    QAction* next = view.addAction(QStringLiteral("Find Next"));
    next->setShortcut(QKeySequence(Qt::Key_F3));
    connect(next, &QAction::triggered, this, &ProgramPanel::mnuFindNext_Click);
    QAction* previous = view.addAction(QStringLiteral("Find Previous"));
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(previous, &QAction::triggered, this, &ProgramPanel::mnuFindPrevious_Click);
    QAction* goToLine = view.addAction(QStringLiteral("Go to Line..."));
    goToLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(goToLine, &QAction::triggered, this, &ProgramPanel::mnuGoToLine_Click);
    view.addAction(mDock->toggleViewAction());
}

QSize ProgramPanel::room() const {
    const QLayout& layout = *mDock->widget()->layout();
    const QMargins margins = layout.contentsMargins();
    return {mView->sizeHint().width(), mCaption->sizeHint().height() + layout.spacing() +
                                           mView->heightOfLines(kFirstLines) + margins.top() +
                                           margins.bottom()};
}

QString ProgramPanel::programBeside(const QString& dataPath) {
    const QFileInfo data(dataPath);
    const QString base = data.completeBaseName();
    const QStringList entries = data.dir().entryList(QDir::Files);
    for (const QString& ending : kProgramEndings) {
        for (const QString& entry : entries) {
            const QFileInfo candidate(entry);
            if (candidate.suffix().compare(ending, Qt::CaseInsensitive) == 0 &&
                candidate.completeBaseName().compare(base, Qt::CaseInsensitive) == 0)
                return data.dir().filePath(entry);
        }
    }
    return {};
}

void ProgramPanel::dataShown(const QString& dataPath) {
    mMarkedRecord.reset();
    if (dataPath.isEmpty())
        return;
    const QString program = programBeside(dataPath);
    if (program.isEmpty()) {
        showNone(
            QStringLiteral("No NC program found beside %1").arg(QFileInfo(dataPath).fileName()));
        return;
    }
    if (showsUnchanged(program)) {
        mLinked = false; // the control maps its new data to the program it has, then says so
        return;
    }
    openProgram(program);
}

// The program shown, as it was read, with no reading of another one under way.
bool ProgramPanel::showsUnchanged(const QString& path) const {
    return !reading() && path == mPath && mFile.read() && FileVersion::of(path) == mFile.read();
}

bool ProgramPanel::openProgram(const QString& path) {
    mLinked = false;
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        showNone(QStringLiteral("Cannot read the NC program %1").arg(path));
        return false;
    }
    startReading(path);
    return true;
}

// The program is read on a thread of its own; the caption says so meanwhile, and the text shown
// before stays until the new one is read. The control is given the program once it is read, so
// that its reading does not slow down this one.
void ProgramPanel::startReading(const QString& path) {
    const std::uint64_t serial = ++mReadings;
    mReadingSerial = serial;
    mReadVersion = FileVersion::of(path);
    mCaption->setText(QStringLiteral("Reading %1 ...").arg(QDir::toNativeSeparators(path)));
    auto text = std::make_shared<ProgramFile>();
    auto error = std::make_shared<int>(0);
    const std::string name = fileNameBytes(path).toStdString();
    QThread* reader = QThread::create([text, error, name, closing = mClosing] {
        if (ProgramFile::read(name, *text, *error, closing.get()))
            *error = 0;
    });
    mReaders.append(reader);
    connect(reader, &QThread::finished, this, [this, reader, serial, path, text, error] {
        mReaders.removeOne(reader);
        reader->deleteLater();
        programRead(serial, path, text, *error);
    });
    reader->start();
}

// A program that could not be read says why; the data stays shown.
void ProgramPanel::programRead(std::uint64_t serial, const QString& path,
                               std::shared_ptr<ProgramFile> text, int error) {
    if (serial != mReadingSerial)
        return;
    mReadingSerial = 0;
    if (error != 0) {
        showNone(QStringLiteral("Cannot read the NC program %1: %2")
                     .arg(path, QString::fromLocal8Bit(ProgramText::reasonOf(error))));
        return;
    }
    if (!mViewer.loadNcProgram(path).value_or(false)) {
        showNone(QStringLiteral("Cannot read the NC program %1").arg(path));
        return;
    }
    showProgram(path, std::move(text));
}

void ProgramPanel::showProgram(const QString& path, std::shared_ptr<ProgramFile> text) {
    mPath = path;
    appState().shownProgram = path;
    mFile.resetTo(mReadVersion);
    watch();
    mView->setProgram(std::move(text));
    mCaption->setText(captionOf(path, *mView->program()));
    mDock->show();
    markAgain();
}

void ProgramPanel::showNone(const QString& text) {
    mReadingSerial = 0;
    mPath.clear();
    appState().shownProgram.clear();
    watch();
    mView->setProgram(nullptr);
    mCaption->setText(text);
}

// The program and its folder, so that a program replaced by delete and rename, or gone and back,
// is found again.
void ProgramPanel::watch() {
    mFile.watch(mPath);
}

// Read again once the program stayed the same for the whole wait and differs from the one shown.
void ProgramPanel::programChanged() {
    openProgram(mPath);
}

// A program that is gone stays shown as it was read.
void ProgramPanel::programGone() {
    mCaption->setText(QStringLiteral("%1 is gone; the panel shows it as it was read")
                          .arg(QDir::toNativeSeparators(mPath)));
}

void ProgramPanel::programMapped() {
    mLinked = true;
    markAgain();
}

void ProgramPanel::markAgain() {
    if (mMarkedRecord)
        readOut(*mMarkedRecord);
}

void ProgramPanel::readOut(std::int32_t index) {
    mMarkedRecord = index;
    if (mPath.isEmpty())
        return;
    mView->markLine(static_cast<std::uint32_t>(mViewer.getRecordLine(index).value_or(0)));
}

void ProgramPanel::lineClicked(std::uint32_t line) {
    mView->markLine(line);
    markRecordOfLine(line);
}

void ProgramPanel::markRecordOfLine(std::uint32_t line) {
    const std::int32_t record =
        mViewer.getLineRecord(static_cast<std::int32_t>(line), mMarkedRecord.value_or(0))
            .value_or(-1);
    if (record >= 0)
        mViewer.markRecord(record);
}

void ProgramPanel::mnuOpenProgram_Click() {
    UserPrompts::FileOpenRequest request;
    request.title = QStringLiteral("Open NC Program");
    QStringList patterns;
    for (const QString& ending : kProgramEndings)
        patterns << QStringLiteral("*.") + ending << QStringLiteral("*.") + ending.toUpper();
    request.filters = {QStringLiteral("NC programs (%1)").arg(patterns.join(u' ')),
                       QStringLiteral("All files (*)")};
    request.folder = ReadIniValue(kSection, QStringLiteral("LastFolder"));
    const QString path = prompts().openFile(request);
    if (path.isEmpty())
        return;
    WriteIniValue(kSection, QStringLiteral("LastFolder"), QFileInfo(path).absolutePath());
    openProgram(path);
}

void ProgramPanel::mnuFindInProgram_Click() {
    if (mPath.isEmpty())
        return;
    const QString text = prompts().inputBox(QStringLiteral("Find in the program:"), mSearchText);
    if (text.isEmpty())
        return;
    mSearchText = text;
    findAgain(true);
}

// Without a text to look for, F3 and Shift+F3 ask for one.
void ProgramPanel::mnuFindNext_Click() {
    if (mSearchText.isEmpty())
        mnuFindInProgram_Click();
    else
        findAgain(true);
}

void ProgramPanel::mnuFindPrevious_Click() {
    if (mSearchText.isEmpty())
        mnuFindInProgram_Click();
    else
        findAgain(false);
}

void ProgramPanel::findAgain(bool forward) {
    if (mPath.isEmpty())
        return;
    if (!mView->find(mSearchText, forward ? ProgramView::Direction::Forward
                                          : ProgramView::Direction::Backward)) {
        mCaption->setText(QStringLiteral("\"%1\" is not in the program").arg(mSearchText));
        return;
    }
    markRecordOfLine(mView->markedLine());
}

void ProgramPanel::mnuGoToLine_Click() {
    if (mPath.isEmpty())
        return;
    const QString answer = prompts().inputBox(QStringLiteral("Go to line:"), QString()).trimmed();
    bool ok = false;
    const uint line = answer.toUInt(&ok);
    if (!ok || line < 1 || line > mView->program()->lineCount())
        return;
    mView->markLine(line);
    markRecordOfLine(line);
}
