#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class QPrinter;
class QWidget;

// Every modal question the program asks goes through this interface, so tests can answer with
// scripted replies and nothing modal ever blocks them.
class UserPrompts {
public:
    enum class Icon { None, Information, Question, Exclamation, Critical };
    enum class Buttons { Ok, YesNoCancel };
    // Answers of a message box, numbered as the program's callers expect them.
    enum Answer { AnswerOk = 1, AnswerCancel = 2, AnswerYes = 6, AnswerNo = 7 };

    struct FileOpenRequest {
        QString title;
        QStringList filters; // "Description (*.txt *.bin)" entries
        QString defaultSuffix;
        QString folder;
        QString fileName;
    };

    // A save dialog's start: its title, the formats offered ("Description (*.png)" entries, the
    // first shown first) and the suggested file name.
    struct FileSaveRequest {
        QString title;
        QStringList filters;
        QString fileName;
    };

    // The save-chart dialog's start: folder, suggested file name, format shown first ("png",
    // "svg" or "pdf"), the picture's size and the dialog's title (empty: "Save Chart As").
    struct ChartSaveRequest {
        QString folder;
        QString fileName;
        QString format;
        QSize size;
        QString title;
    };
    // The chosen file (with its ending) and size.
    struct ChartSaveChoice {
        QString path;
        QSize size;
    };

    // The report dialog's start: folder, suggested file name and title.
    struct ReportSaveRequest {
        QString folder;
        QString fileName;
        QString title;
    };
    // The chosen file (with its ending) and title.
    struct ReportSaveChoice {
        QString path;
        QString title;
    };

    virtual ~UserPrompts() = default;

    virtual int messageBox(const QString& text, Buttons buttons, Icon icon,
                           const QString& title) = 0;
    // The typed text, or an empty string for Cancel. The box shows the program's title.
    virtual QString inputBox(const QString& prompt, const QString& defaultText) = 0;
    // The chosen full path, or empty when cancelled.
    virtual QString openFile(const FileOpenRequest& request) = 0;
    // The chosen full path, or empty when cancelled.
    virtual QString saveFile(const FileSaveRequest& request) = 0;
    // The chosen colour (0x00BBGGRR), or nothing when cancelled.
    virtual std::optional<std::uint32_t> chooseColor(std::uint32_t initial) = 0;
    // The print set-up dialog on `printer`; false when cancelled.
    virtual bool printSetup(QPrinter& printer, QWidget* owner) = 0;
    // The save-chart dialog; nothing when cancelled.
    virtual std::optional<ChartSaveChoice> saveChart(const ChartSaveRequest& request) = 0;
    // The export-report dialog; nothing when cancelled.
    virtual std::optional<ReportSaveChoice> saveReport(const ReportSaveRequest& request) = 0;
    virtual void beep() = 0;
};

// The prompts in use: the real dialogs unless a test installed others.
UserPrompts& prompts();
// Installs `replacement` (not owned); nullptr goes back to the real dialogs.
void setPrompts(UserPrompts* replacement);
