#include "savereportdialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

SaveReportDialog::SaveReportDialog(const UserPrompts::ReportSaveRequest& request, QWidget* parent)
    : QFileDialog(parent, QStringLiteral("Export Report"), request.folder),
      mTitle(new QLineEdit(request.title, this)) {
    setObjectName(QStringLiteral("saveReportDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters({QStringLiteral("PDF document (*.pdf)")});
    setDefaultSuffix(QStringLiteral("pdf"));
    selectFile(request.fileName);
    // The non-native dialog lays its parts out in a grid: the title goes in a row of its own.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QStringLiteral("Title:"), this), row, 0);
        grid->addWidget(mTitle, row, 1);
    }
}

UserPrompts::ReportSaveChoice SaveReportDialog::choice() const {
    const QStringList files = selectedFiles();
    return {files.isEmpty() ? QString() : files.first(), mTitle->text()};
}
