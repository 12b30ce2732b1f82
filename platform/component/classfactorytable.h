#pragma once

#include "componentexports.h"

#include <QString>

#include <map>

namespace component {

// The factory of a widget class T whose constructor takes the parent widget.
template <class T> class TypedClassFactory : public ClassFactory {
public:
    ControlObject* createInstance(QWidget* parent) override { return new T(parent); }
};

// The classes one library offers, by class identifier; what DllGetClassObject answers from.
class ClassFactoryTable {
public:
    void add(const QString& clsid, ClassFactory* factory);
    // kOk and the factory, or kClassNotAvailable and null for an unknown or malformed clsid.
    HResult getClassObject(const char* clsid, ClassFactory** factory) const;

private:
    std::map<QString, ClassFactory*> factories_;
};

} // namespace component
