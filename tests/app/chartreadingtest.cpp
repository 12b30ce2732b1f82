#include "apptestsupport.h"
#include "curvexproxy.h"
#include "forms/chartstatus.h"
#include "forms/frmmain.h"
#include "mainwindowfixture.h"

#include <QDir>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace {

// A control of the first interface: every newer member is missing.
class FirstInterfaceControl : public component::DispatchObject {
public:
    component::InvokeResult invoke(int dispid, component::InvokeKind, QVariantList&,
                                   QVariant*) override {
        return dispid <= 18 ? component::InvokeResult::Ok : component::InvokeResult::MemberNotFound;
    }
};

using ChartReadingTest = MainWindowTest;

// Each kind of failure the loader tells apart reaches the status bar; the title is the one a
// failed open always gave, no message box shows and the previous chart stays.
TEST_F(ChartReadingTest, AFailedOpenSaysWhyInTheStatusBar) {
    load();
    const QString good = sample(QStringLiteral("run.txt"), false);
    apptest::writeFile(gAppFolder + QStringLiteral("empty.txt"), {});
    apptest::writeFile(gAppFolder + QStringLiteral("short.bin"), "0123456789");
    // A header, then an entry whose flag word promises a tool number that is not there.
    apptest::writeFile(gAppFolder + QStringLiteral("cut.bin"),
                       QByteArray("\0\0\x80\x3f\0\0\0\x40\0\0\x40\x40\x01\x01\x05", 15));
    QDir(gAppFolder).mkdir(QStringLiteral("folder.txt"));
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"missing.txt", "cannot open the file: No such file or directory"},
        {"folder.txt", "cannot open the file: Is a directory"},
        {"empty.txt", "the file is empty"},
        {"short.bin", "the file is shorter than its 12-byte header"},
        {"cut.bin", "truncated entry at byte offset 14"},
    };
    for (const auto& c : cases) {
        open(good);
        ASSERT_EQ(window->chartStatus().message(), QString());
        const QImage chart = window->viewerWidget().grab().toImage();
        const QString path = gAppFolder + QString::fromLatin1(c.name);
        open(path);
        EXPECT_EQ(window->chartStatus().message(), QStringLiteral("Cannot load ") + path +
                                                       QStringLiteral(": ") +
                                                       QString::fromLatin1(c.reason));
        EXPECT_EQ(window->statusBar()->currentMessage(), window->chartStatus().message());
        EXPECT_EQ(window->windowTitle(), baseCaption + kFourBlanks) << c.name;
        EXPECT_TRUE(answers.messages.empty()) << c.name;
        EXPECT_EQ(window->viewerWidget().grab().toImage(), chart) << c.name;
    }
    open(good);
    EXPECT_EQ(window->chartStatus().message(), QString());
}

TEST(ChartStatus, AControlThatCannotSayWhyStillNamesTheFile) {
    apptest::application();
    QStatusBar bar;
    FirstInterfaceControl control;
    CurvexProxy proxy(control);
    ChartStatus status(bar);
    EXPECT_EQ(proxy.getLoadError(), std::nullopt);
    status.loadDone(QStringLiteral("run.txt"), false, proxy.getLoadError());
    EXPECT_EQ(status.message(), QStringLiteral("Cannot load run.txt"));
    status.clearReadOut();
    EXPECT_EQ(status.message(), QStringLiteral("Cannot load run.txt")) << "not a read-out";
    status.showReadOut(QStringLiteral("N10"));
    status.clearReadOut();
    EXPECT_EQ(status.message(), QString());
}

} // namespace
