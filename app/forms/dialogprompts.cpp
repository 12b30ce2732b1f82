#include "userprompts.h"

#include "curvexcolor.h"
#include "curvexids.h"
#include "report/savereportdialog.h"
#include "savechartdialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace {

QMessageBox::Icon messageIcon(UserPrompts::Icon icon) {
    switch (icon) {
    case UserPrompts::Icon::Information:
        return QMessageBox::Information;
    case UserPrompts::Icon::Question:
        return QMessageBox::Question;
    case UserPrompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case UserPrompts::Icon::Critical:
        return QMessageBox::Critical;
    case UserPrompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The real dialogs of the desktop.
class DialogPrompts : public UserPrompts {
public:
    int messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
        QMessageBox box(messageIcon(icon), title, text);
        if (buttons == Buttons::Ok) {
            box.setStandardButtons(QMessageBox::Ok);
            box.exec();
            return AnswerOk;
        }
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return AnswerYes;
        case QMessageBox::No:
            return AnswerNo;
        default:
            return AnswerCancel;
        }
    }

    QString inputBox(const QString& prompt, const QString& defaultText) override {
        bool accepted = false;
        const QString text = QInputDialog::getText(nullptr, curvex::kProgramTitle, prompt,
                                                   QLineEdit::Normal, defaultText, &accepted);
        return accepted ? text : QString();
    }

    QString openFile(const FileOpenRequest& request) override {
        QFileDialog dialog(nullptr, request.title, request.folder);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // Any name: one that does not exist is the user's answer too, and the open command
        // reports the failed load, rather than a warning box inside the dialog.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilters(request.filters);
        dialog.setDefaultSuffix(request.defaultSuffix);
        dialog.selectFile(request.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    QString saveFile(const FileSaveRequest& request) override {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title,
                                            request.fileName, request.filters.join(u";;"));
    }

    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override {
        const QColor chosen = QColorDialog::getColor(curvex::toQColor(initial));
        if (!chosen.isValid())
            return std::nullopt;
        return curvex::toColorRef(chosen);
    }

    bool printSetup(QPrinter& printer, QWidget* owner) override {
        QPrintDialog dialog(&printer, owner);
        return dialog.exec() == QDialog::Accepted;
    }

    std::optional<ChartSaveChoice> saveChart(const ChartSaveRequest& request) override {
        SaveChartDialog dialog(request);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.choice();
    }
    std::optional<ReportSaveChoice> saveReport(const ReportSaveRequest& request) override {
        SaveReportDialog dialog(request);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.choice();
    }
    void beep() override { QApplication::beep(); }
};

UserPrompts* installed = nullptr;

} // namespace

UserPrompts& prompts() {
    static DialogPrompts dialogs;
    return installed != nullptr ? *installed : dialogs;
}

void setPrompts(UserPrompts* replacement) {
    installed = replacement;
}
