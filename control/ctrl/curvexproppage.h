#pragma once

#include "dispatch.h"

#include <QWidget>

// The control's property page "General". The control has no properties of its own to edit, so
// the page only names the control; it answers no dispatch identifier.
class CCurvexPropPage : public QWidget, public component::ControlObject {
public:
    explicit CCurvexPropPage(QWidget* parent);
    ~CCurvexPropPage() override;

    // Pages alive in this library.
    static int instanceCount();

    QWidget* widget() override { return this; }
    void advise(component::EventSink*) override {}
    component::InvokeResult invoke(int dispid, component::InvokeKind kind, QVariantList& args,
                                   QVariant* result) override;
};
