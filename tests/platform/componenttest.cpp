#include "componentregistry.h"
#include "guid.h"
#include "surfaceregistry.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace component;

TEST(ComponentLayer, CanonicalGuid) {
    const std::pair<QString, QString> cases[] = {
        {"{6787f196-8de6-440c-87ea-1ac003cae07a}", "{6787F196-8DE6-440C-87EA-1AC003CAE07A}"},
        {" 6787F196-8DE6-440C-87EA-1AC003CAE07A ", "{6787F196-8DE6-440C-87EA-1AC003CAE07A}"},
        {"{6787F196-8DE6-440C-87EA-1AC003CAE07}", ""},
        {"CURVEX.CurvexCtrl.1", ""},
        {"", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(canonicalGuid(text), expected) << text.toStdString();
}

TEST(ComponentLayer, SurfaceHandlesMapToTheirDevicesWhileRegistered) {
    QImage first(4, 4, QImage::Format_RGB32);
    QImage second(4, 4, QImage::Format_RGB32);
    std::int32_t firstHandle = 0;
    {
        SurfaceRegistry::Entry a(&first);
        SurfaceRegistry::Entry b(&second);
        firstHandle = a.handle();
        EXPECT_GT(a.handle(), 0);
        EXPECT_NE(a.handle(), b.handle());
        EXPECT_EQ(SurfaceRegistry::find(a.handle()), &first);
        EXPECT_EQ(SurfaceRegistry::find(b.handle()), &second);
    }
    EXPECT_EQ(SurfaceRegistry::find(firstHandle), nullptr);
    EXPECT_EQ(SurfaceRegistry::find(0), nullptr);
}

class ComponentRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    }
    QTemporaryDir home;
};

TEST_F(ComponentRegistryTest, FileLiesUnderTheConfigHome) {
    EXPECT_EQ(ComponentRegistry::filePath(), home.path() + "/Plotwell/components.ini");
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", "/home/someone");
    for (const char* ignored : {"", "relative/config"}) {
        qputenv("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(ComponentRegistry::filePath(), "/home/someone/.config/Plotwell/components.ini");
    }
    qputenv("HOME", savedHome);
}

TEST_F(ComponentRegistryTest, UnwritableRegistryFailsOnlyWhenSomethingMustBeWritten) {
    QFile blocker(home.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker.fileName()));
    ClassRegistration entry;
    entry.clsid = "{11111111-2222-3333-4444-555555555555}";
    entry.libraryPath = "/opt/a.ocx";
    EXPECT_FALSE(ComponentRegistry::registerClass(entry));
    EXPECT_FALSE(ComponentRegistry::registerTypeLib(entry.clsid, "1.3", "/opt/a.ocx", ""));
    EXPECT_TRUE(ComponentRegistry::unregisterClass(entry.clsid, "Test.A.1"));
    EXPECT_FALSE(ComponentRegistry::registerClass(ClassRegistration{}));
}
