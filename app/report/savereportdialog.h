#pragma once

#include "userprompts.h"

#include <QFileDialog>

class QLineEdit;

// The export-report dialog: the file dialog for PDF documents with the report's title below it.
// The chosen name gets ".pdf" when it has no such ending.
class SaveReportDialog : public QFileDialog {
public:
    explicit SaveReportDialog(const UserPrompts::ReportSaveRequest& request,
                              QWidget* parent = nullptr);

    // The accepted choice.
    UserPrompts::ReportSaveChoice choice() const;

    QLineEdit& titleField() { return *mTitle; }

private:
    QLineEdit* mTitle;
};
