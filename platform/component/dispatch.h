#pragma once

#include <QVariant>

class QWidget;

// Late binding between a host and a control: calls by dispatch identifier with QVariant
// arguments, events back through a sink.
namespace component {

enum class InvokeKind { Method, PropertyGet, PropertyPut };

enum class InvokeResult {
    Ok,
    MemberNotFound, // unknown dispatch identifier, or a kind the member does not have
    BadParamCount,
    TypeMismatch,
};

const char* describe(InvokeResult result);

// Events of a control, delivered synchronously on the calling thread.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void onEvent(int dispid, const QVariantList& args) = 0;
};

class DispatchObject {
public:
    virtual ~DispatchObject() = default;
    // By-reference parameters are written back into `args`. `result` may be null. Never throws.
    virtual InvokeResult invoke(int dispid, InvokeKind kind, QVariantList& args,
                                QVariant* result) = 0;
};

// A control: a dispatch object with a widget that the host places on its window.
class ControlObject : public DispatchObject {
public:
    virtual QWidget* widget() = 0;
    // One sink at a time; nullptr stops the events.
    virtual void advise(EventSink* sink) = 0;
    // The properties a host keeps with its window, as named values. A control without persistent
    // properties leaves the bag alone and ignores what it is given.
    virtual void saveProperties(QVariantMap& bag) { Q_UNUSED(bag) }
    virtual void loadProperties(const QVariantMap& bag) { Q_UNUSED(bag) }
};

class ClassFactory {
public:
    virtual ~ClassFactory() = default;
    // The control's widget is created as a child of `parent`; the caller owns the object.
    virtual ControlObject* createInstance(QWidget* parent) = 0;
};

} // namespace component
