#include "dispatch.h"

namespace component {

const char* describe(InvokeResult result) {
    switch (result) {
    case InvokeResult::Ok:
        return "success";
    case InvokeResult::MemberNotFound:
        return "member not found";
    case InvokeResult::BadParamCount:
        return "invalid number of parameters";
    case InvokeResult::TypeMismatch:
        return "type mismatch";
    }
    return "unknown result";
}

} // namespace component
