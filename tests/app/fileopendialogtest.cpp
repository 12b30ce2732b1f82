// The real file-open dialog, driven as a user types into it.

#include "apptestsupport.h"

#include "userprompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Types `name` into the open dialog and confirms it. A message box on top of the dialog is
// closed and remembered, and the dialog is then cancelled, so that a refusal cannot hang the test.
class DialogTypist : public QObject {
public:
    explicit DialogTypist(QString name) : name_(std::move(name)) {
        connect(&timer_, &QTimer::timeout, this, &DialogTypist::step);
        timer_.start(20);
    }

    bool sawMessageBox = false;

private:
    void step() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (box != nullptr && box->isVisible()) {
                sawMessageBox = true;
                box->done(QMessageBox::Ok);
                return;
            }
        }
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        if (typed_) {
            dialog->reject();
            return;
        }
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (edit == nullptr)
            return;
        edit->setText(name_);
        typed_ = true;
        // As the Open button does, from an event of its own: a box that the dialog opens then
        // runs while this timer keeps watching.
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
    }

    QString name_;
    bool typed_ = false;
    QTimer timer_;
};

// A typed name that does not exist is the user's answer: the open command then fails to load it
// and says so, instead of a warning box inside the dialog.
TEST(RealFileOpenDialog, ReturnsATypedNameThatDoesNotExist) {
    apptest::application();
    setPrompts(nullptr);
    QTemporaryDir folder;
    UserPrompts::FileOpenRequest request;
    request.title = QStringLiteral("ファイル選択");
    request.filters = {QStringLiteral("Monitoring Data File(*.txt;*.bin) (**.txt *.bin)")};
    request.defaultSuffix = QStringLiteral(".txt");
    request.folder = folder.path();
    request.fileName = QStringLiteral("CUTDATA.txt");
    DialogTypist typist(QStringLiteral("no such run.txt"));
    const QString chosen = prompts().openFile(request);
    EXPECT_FALSE(typist.sawMessageBox) << "the dialog refused the name with a message box";
    EXPECT_EQ(chosen.toStdString(),
              folder.filePath(QStringLiteral("no such run.txt")).toStdString());
}

} // namespace
