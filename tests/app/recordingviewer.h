#pragma once

#include "curvexids.h"
#include "curvexproxy.h"
#include "dispatch.h"

#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

// A stand-in for the graph control that records every call by dispatch identifier and keeps the
// state the forms read back: colours, shown range and G00 feed. The members in `missing` it
// lacks, as an older control does.
class RecordingViewer : public component::DispatchObject {
public:
    struct Call {
        int dispid;
        QVariantList args;
    };

    RecordingViewer() {
        for (std::size_t n = 0; n < colours.size(); ++n) {
            colours[n] = static_cast<std::int32_t>(0x010101 * (n + 1));
        }
    }

    component::InvokeResult invoke(int dispid, component::InvokeKind, QVariantList& args,
                                   QVariant* result) override {
        calls.push_back({dispid, args});
        if (missing.count(dispid) != 0)
            return component::InvokeResult::MemberNotFound;
        switch (dispid) {
        case curvex::DispGetGraphColor:
            *result = colours.at(args.at(0).toInt());
            break;
        case curvex::DispSetGraphColor:
            colours.at(args.at(1).toInt()) = args.at(0).toInt();
            break;
        case curvex::DispSetDistArea:
            lower = args.at(0).toFloat();
            upper = args.at(1).toFloat();
            if (result) {
                *result = true;
            }
            break;
        case curvex::DispRefresh:
            if (onRefresh) {
                onRefresh();
            }
            break;
        default:
            break;
        }
        return component::InvokeResult::Ok;
    }

    std::vector<Call> callsOf(int dispid) const {
        std::vector<Call> found;
        for (const Call& call : calls) {
            if (call.dispid == dispid) {
                found.push_back(call);
            }
        }
        return found;
    }

    std::array<std::int32_t, 16> colours{};
    float lower = 0.0f;
    float upper = 100.0f;
    std::vector<Call> calls;
    std::function<void()> onRefresh;
    std::set<int> missing;
};
