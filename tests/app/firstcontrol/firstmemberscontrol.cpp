// A control library that offers only the first eighteen members, the stock ones and the first two
// events: the real control behind it, with every later member missing. The window meets it as a
// site's control of the first edition, which its later panels and menu items must leave alone.

#include "componentexports.h"
#include "curvexids.h"
#include "dispatch.h"

#include <QLibrary>

#include <cstring>

namespace {

using component::ClassFactory;
using component::ControlObject;
using component::EventSink;
using component::InvokeKind;
using component::InvokeResult;

constexpr int kLastFirstMember = curvex::DispOcxUnRegist;
constexpr int kLastFirstEvent = curvex::EventFileDroped;

class FirstMembersControl final : public ControlObject, private EventSink {
public:
    explicit FirstMembersControl(ControlObject* inner) : inner_(inner) {}
    ~FirstMembersControl() override {
        inner_->advise(nullptr);
        delete inner_;
    }

    InvokeResult invoke(int dispid, InvokeKind kind, QVariantList& args,
                        QVariant* result) override {
        if (dispid > kLastFirstMember)
            return InvokeResult::MemberNotFound;
        return inner_->invoke(dispid, kind, args, result);
    }
    QWidget* widget() override { return inner_->widget(); }
    void advise(EventSink* sink) override {
        sink_ = sink;
        inner_->advise(sink ? this : nullptr);
    }
    void saveProperties(QVariantMap& bag) override { inner_->saveProperties(bag); }
    void loadProperties(const QVariantMap& bag) override { inner_->loadProperties(bag); }

private:
    void onEvent(int dispid, const QVariantList& args) override {
        if (sink_ != nullptr && dispid >= 1 && dispid <= kLastFirstEvent)
            sink_->onEvent(dispid, args);
    }

    ControlObject* inner_;
    EventSink* sink_ = nullptr;
};

// Makes the real control from the library at PLOTWELL_REAL_CONTROL and wraps it.
class FirstMembersFactory final : public ClassFactory {
public:
    ControlObject* createInstance(QWidget* parent) override {
        QLibrary library(QStringLiteral(PLOTWELL_REAL_CONTROL));
        const auto getClassObject = reinterpret_cast<component::DllGetClassObjectFn>(
            library.resolve(component::kDllGetClassObject));
        ClassFactory* factory = nullptr;
        if (getClassObject == nullptr ||
            getClassObject(curvex::kControlClsid, &factory) != component::kOk || !factory)
            return nullptr;
        ControlObject* inner = factory->createInstance(parent);
        return inner ? new FirstMembersControl(inner) : nullptr;
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) component::HResult
DllGetClassObject(const char* clsid, ClassFactory** factory) {
    static FirstMembersFactory first;
    if (std::strcmp(clsid, curvex::kControlClsid) != 0)
        return component::kClassNotAvailable;
    *factory = &first;
    return component::kOk;
}
