#include "classfactorytable.h"

#include "guid.h"

namespace component {

void ClassFactoryTable::add(const QString& clsid, ClassFactory* factory) {
    factories_[canonicalGuid(clsid)] = factory;
}

HResult ClassFactoryTable::getClassObject(const char* clsid, ClassFactory** factory) const {
    if (factory == nullptr)
        return kClassNotAvailable;
    *factory = nullptr;
    if (clsid == nullptr)
        return kClassNotAvailable;
    const auto it = factories_.find(canonicalGuid(QString::fromUtf8(clsid)));
    if (it == factories_.end() || it->first.isEmpty())
        return kClassNotAvailable;
    *factory = it->second;
    return kOk;
}

} // namespace component
