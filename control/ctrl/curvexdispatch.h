#pragma once

#include "dispatch.h"

class CCurvexCtrl;

// The dispatch map of the control's interface: dispatch identifiers 1 to 22 and the stock
// members, with their kinds, parameter counts and argument conversions.
class CurvexDispatch {
public:
    static component::InvokeResult invoke(CCurvexCtrl& control, int dispid,
                                          component::InvokeKind kind, QVariantList& args,
                                          QVariant* result);
};
