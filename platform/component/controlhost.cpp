#include "controlhost.h"

#include "componentexports.h"
#include "componentregistry.h"
#include "guid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <QWidget>

namespace component {

namespace {

// The control keeps its library loaded: a library is never unloaded while code of it may still
// run, and its module-wide state lives as long as the process.
class LibraryControl : public HostedControl {
public:
    LibraryControl(ControlObject* control, QString libraryPath)
        : control_(control), widget_(control->widget()), libraryPath_(std::move(libraryPath)) {}

    ~LibraryControl() override {
        // A parent window that went first has already deleted the control with its widget.
        if (widget_)
            delete control_;
    }

    ControlObject& control() override { return *control_; }
    QString libraryPath() const override { return libraryPath_; }

private:
    ControlObject* control_;
    QPointer<QWidget> widget_;
    QString libraryPath_;
};

QString privateControlPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Curvex.ocx"));
}

std::unique_ptr<HostedControl> fail(QString* error, const QString& message) {
    if (error)
        *error = message;
    return nullptr;
}

} // namespace

std::unique_ptr<HostedControl> createControl(const QString& clsid, QWidget* parent,
                                             QString* error) {
    const QString canonical = canonicalGuid(clsid);
    if (canonical.isEmpty())
        return fail(error, QStringLiteral("\"%1\" is not a class identifier").arg(clsid));

    const QString registered = ComponentRegistry::libraryForClass(canonical);
    // A relative name would be looked up from whatever folder the host was started in.
    if (!registered.isEmpty() && !registered.startsWith(u'/')) {
        return fail(error, QStringLiteral("Control library %1 registered for %2 in %3 is not an "
                                          "absolute path")
                               .arg(registered, canonical, ComponentRegistry::filePath()));
    }
    const QString path = registered.isEmpty() ? privateControlPath() : registered;
    if (!QFileInfo(path).isFile()) {
        return fail(error,
                    QStringLiteral("Control library %1 not found%2")
                        .arg(path, registered.isEmpty()
                                       ? QString()
                                       : QStringLiteral(" (registered for %1 in %2)")
                                             .arg(canonical, ComponentRegistry::filePath())));
    }

    QLibrary library(QFileInfo(path).absoluteFilePath());
    if (!library.load())
        return fail(
            error,
            QStringLiteral("Cannot load control library %1: %2").arg(path, library.errorString()));
    const auto getClassObject =
        reinterpret_cast<DllGetClassObjectFn>(library.resolve(kDllGetClassObject));
    if (getClassObject == nullptr)
        return fail(error, QStringLiteral("%1 is not a control library: it has no export %2")
                               .arg(path, QLatin1String(kDllGetClassObject)));

    ClassFactory* factory = nullptr;
    const QByteArray id = canonical.toLatin1();
    if (getClassObject(id.constData(), &factory) != kOk || factory == nullptr)
        return fail(error,
                    QStringLiteral("%1 does not implement the class %2").arg(path, canonical));
    ControlObject* control = factory->createInstance(parent);
    if (control != nullptr && control->widget() == nullptr) {
        delete control;
        control = nullptr;
    }
    if (control == nullptr)
        return fail(
            error,
            QStringLiteral("%1 could not create an object of the class %2").arg(path, canonical));
    return std::make_unique<LibraryControl>(control, path);
}

} // namespace component
