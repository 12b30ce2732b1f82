#include "curvexexports.h"

#include "classfactorytable.h"
#include "componentregistry.h"
#include "curvexctrl.h"
#include "curvexids.h"
#include "curvexproppage.h"

#include <QFileInfo>

#include <dlfcn.h>

namespace {

using component::ComponentRegistry;

const component::ClassFactoryTable& factories() {
    static component::TypedClassFactory<CCurvexCtrl> controlFactory;
    static component::TypedClassFactory<CCurvexPropPage> pageFactory;
    static const component::ClassFactoryTable table = [] {
        component::ClassFactoryTable classes;
        classes.add(QString::fromLatin1(curvex::kControlClsid), &controlFactory);
        classes.add(QString::fromLatin1(curvex::kPropPageClsid), &pageFactory);
        return classes;
    }();
    return table;
}

// The full path of this library file, from an address inside it.
QString libraryFilePath() {
    static const int anchor = 0;
    Dl_info info{};
    if (dladdr(&anchor, &info) == 0 || info.dli_fname == nullptr)
        return {};
    return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
}

component::ClassRegistration classRegistration(const char* clsid, const char* progId,
                                               const char* typeName, const QString& library) {
    component::ClassRegistration entry;
    entry.clsid = QString::fromLatin1(clsid);
    entry.progId = QString::fromLatin1(progId);
    entry.typeName = QString::fromLatin1(typeName);
    entry.libraryPath = library;
    entry.threadingModel = QStringLiteral("Apartment");
    return entry;
}

component::ClassRegistration controlRegistration(const QString& library) {
    component::ClassRegistration entry = classRegistration(
        curvex::kControlClsid, curvex::kControlProgId, curvex::kControlTypeName, library);
    entry.miscStatus = curvex::kMiscStatus;
    entry.typeLib = QString::fromLatin1(curvex::kTypeLibId);
    entry.typeLibVersion = QString::fromLatin1(curvex::kTypeLibVersion);
    entry.toolboxBitmap = QStringLiteral("1");
    return entry;
}

} // namespace

extern "C" {

component::HResult DllRegisterServer() {
    const QString library = libraryFilePath();
    if (library.isEmpty() ||
        !ComponentRegistry::registerTypeLib(QString::fromLatin1(curvex::kTypeLibId),
                                            QString::fromLatin1(curvex::kTypeLibVersion), library,
                                            QString::fromLatin1(curvex::kHelpFile)))
        return component::kTypeLibRegistrationFailed;
    if (!ComponentRegistry::registerClass(controlRegistration(library)) ||
        !ComponentRegistry::registerClass(classRegistration(
            curvex::kPropPageClsid, curvex::kPropPageProgId, curvex::kPropPageTypeName, library)))
        return component::kClassRegistrationFailed;
    return component::kOk;
}

component::HResult DllUnregisterServer() {
    if (!ComponentRegistry::unregisterTypeLib(QString::fromLatin1(curvex::kTypeLibId)))
        return component::kTypeLibRegistrationFailed;
    if (!ComponentRegistry::unregisterClass(QString::fromLatin1(curvex::kControlClsid),
                                            QString::fromLatin1(curvex::kControlProgId)) ||
        !ComponentRegistry::unregisterClass(QString::fromLatin1(curvex::kPropPageClsid),
                                            QString::fromLatin1(curvex::kPropPageProgId)))
        return component::kClassRegistrationFailed;
    return component::kOk;
}

component::HResult DllGetClassObject(const char* clsid, component::ClassFactory** factory) {
    return factories().getClassObject(clsid, factory);
}

component::HResult DllCanUnloadNow() {
    const bool inUse = CCurvexCtrl::instanceCount() > 0 || CCurvexPropPage::instanceCount() > 0;
    return inUse ? component::kFalse : component::kOk;
}

std::int32_t DllVersion() {
    return curvex::kOcxVersion;
}
}
