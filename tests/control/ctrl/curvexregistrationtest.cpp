// Self-registration of the control in the per-user component registry, and how hosts find it.

#include "curvexhostsupport.h"

#include "componentregistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace curvextest;
using component::ComponentRegistry;

namespace {

QString registered(const char* clsid, const char* key) {
    return ComponentRegistry::value(ComponentRegistry::classSection(QString::fromLatin1(clsid)),
                                    QString::fromLatin1(key));
}

QString privateCopy() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Curvex.ocx"));
}

} // namespace

class CurvexRegistrationTest : public CurvexHostTest {
protected:
    component::HResult unregisterServer() {
        return controlExport<component::DllUnregisterServerFn>(component::kDllUnregisterServer)();
    }
};

TEST_F(CurvexRegistrationTest, RegistrationIsVisibleInTheRegistry) {
    const QString library = QFileInfo(binFile(QStringLiteral("Curvex.ocx"))).absoluteFilePath();
    EXPECT_EQ(ComponentRegistry::filePath(), configHome.path() + "/Plotwell/components.ini");
    EXPECT_EQ(registered(curvex::kControlClsid, "InprocServer32"), library);
    EXPECT_EQ(registered(curvex::kControlClsid, "ProgID"), "CURVEX.CurvexCtrl.1");
    EXPECT_EQ(registered(curvex::kControlClsid, "TypeName"), "Curvex Control");
    EXPECT_EQ(registered(curvex::kControlClsid, "ThreadingModel"), "Apartment");
    EXPECT_EQ(registered(curvex::kControlClsid, "MiscStatus").toUInt(), 0x20191u);
    EXPECT_EQ(registered(curvex::kControlClsid, "TypeLib"), curvex::kTypeLibId);
    EXPECT_EQ(registered(curvex::kPropPageClsid, "TypeName"), "Curvex Property Page");
    EXPECT_EQ(registered(curvex::kPropPageClsid, "ProgID"), "CURVEX.CurvexPropPage.1");
    EXPECT_EQ(ComponentRegistry::value("CURVEX.CurvexCtrl.1", "CLSID"), curvex::kControlClsid);
    EXPECT_EQ(
        ComponentRegistry::value(
            ComponentRegistry::typeLibSection(QString::fromLatin1(curvex::kTypeLibId)), "Version"),
        "1.3");
    EXPECT_EQ(hosted->libraryPath(), library);
}

TEST_F(CurvexRegistrationTest, UnregistrationRemovesTheEntriesAndHostsUseThePrivateCopy) {
    ASSERT_EQ(unregisterServer(), component::kOk);
    EXPECT_EQ(ComponentRegistry::libraryForClass(controlClsid()), QString());
    EXPECT_EQ(registered(curvex::kControlClsid, "ProgID"), QString());
    EXPECT_EQ(registered(curvex::kPropPageClsid, "InprocServer32"), QString());
    EXPECT_EQ(ComponentRegistry::value("CURVEX.CurvexCtrl.1", "CLSID"), QString());
    // A second unregistration finds nothing to remove and still succeeds.
    EXPECT_EQ(unregisterServer(), component::kOk);

    const auto fallback = create();
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->libraryPath(), privateCopy());
}

TEST_F(CurvexRegistrationTest, OcxUnRegistLeavesTheRunningControlUsable) {
    call(18);
    EXPECT_EQ(ComponentRegistry::libraryForClass(controlClsid()), QString());
    EXPECT_EQ(call(16).toInt(), 65566);
}

TEST_F(CurvexRegistrationTest, RegistrationFailsWhenTheRegistryCannotBeWritten) {
    QFile blocker(configHome.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker.fileName()));
    const auto registerServer =
        controlExport<component::DllRegisterServerFn>(component::kDllRegisterServer);
    EXPECT_EQ(registerServer(), component::kTypeLibRegistrationFailed);
    EXPECT_EQ(static_cast<std::uint32_t>(registerServer()), 0x80040200u);
}

TEST_F(CurvexRegistrationTest, HostsGetAClearErrorInsteadOfAControl) {
    QFile text(configHome.filePath(QStringLiteral("notalibrary.ocx")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("plain text\n");
    text.close();
    struct Case {
        QString clsid;
        QString library; // registered for the class; empty: nothing registered
        const char* expected;
    };
    const QString missingClass = QStringLiteral("{6787F198-8DE6-440C-87EA-1AC003CAE07A}");
    const Case cases[] = {
        {controlClsid(), configHome.filePath("gone/Curvex.ocx"), "not found"},
        {controlClsid(), text.fileName(), "Cannot load"},
        {controlClsid(), binFile("libPlotwellComponent.so"), "no export DllGetClassObject"},
        {missingClass, QString(), "does not implement"},
        {QStringLiteral("Curvex"), QString(), "not a class identifier"},
    };
    for (const Case& c : cases) {
        if (!c.library.isEmpty()) {
            component::ClassRegistration entry;
            entry.clsid = c.clsid;
            entry.libraryPath = c.library;
            ASSERT_TRUE(ComponentRegistry::registerClass(entry));
        }
        QString error;
        EXPECT_EQ(component::createControl(c.clsid, host.get(), &error), nullptr);
        EXPECT_TRUE(error.contains(QLatin1String(c.expected))) << error.toStdString();
    }
}

// A registry entry that names the library without an absolute path would load whatever library
// of that name lies in the folder the host was started from.
TEST_F(CurvexRegistrationTest, RegisteredLibraryMustBeAnAbsolutePathToARegularFile) {
    const QString binFolder = QFileInfo(binFile(QStringLiteral("Curvex.ocx"))).absolutePath();
    const QString startFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(binFolder));
    const struct {
        QString library;
        const char* expected;
    } cases[] = {
        {QStringLiteral("Curvex.ocx"), "not an absolute path"},
        {QStringLiteral("./Curvex.ocx"), "not an absolute path"},
        {QStringLiteral("../bin/Curvex.ocx"), "not an absolute path"},
        {binFolder, "not found"},
    };
    for (const auto& c : cases) {
        component::ClassRegistration entry;
        entry.clsid = controlClsid();
        entry.libraryPath = c.library;
        ASSERT_TRUE(ComponentRegistry::registerClass(entry));
        QString error;
        EXPECT_EQ(component::createControl(controlClsid(), host.get(), &error), nullptr)
            << c.library.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.expected))) << error.toStdString();
    }
    QDir::setCurrent(startFolder);
}

TEST_F(CurvexRegistrationTest, PropertyPageAndUnloadState) {
    const auto getClassObject =
        controlExport<component::DllGetClassObjectFn>(component::kDllGetClassObject);
    const auto canUnloadNow =
        controlExport<component::DllCanUnloadNowFn>(component::kDllCanUnloadNow);
    component::ClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(curvex::kPropPageClsid, &factory), component::kOk);
    std::unique_ptr<component::ControlObject> page(factory->createInstance(nullptr));
    EXPECT_EQ(page->widget()->windowTitle(), QStringLiteral("General"));
    QVariantList none;
    EXPECT_EQ(page->invoke(1, component::InvokeKind::Method, none, nullptr),
              component::InvokeResult::MemberNotFound);
    EXPECT_EQ(getClassObject("{00000000-0000-0000-0000-000000000000}", &factory),
              component::kClassNotAvailable);
    EXPECT_EQ(factory, nullptr);

    EXPECT_EQ(canUnloadNow(), component::kFalse);
    page.reset();
    hosted.reset();
    EXPECT_EQ(canUnloadNow(), component::kOk);
}
