#include "referenceload.h"

#include "cutbinaryentry.h"
#include "cutbuilder.h"
#include "cuttextlines.h"

namespace {

// Hands the records of the line reader to the builder.
struct BuilderSink {
    CutBuilder& builder;
    void add(const ReadState& state, float dx, float dy, float dz) {
        builder.add(state.record, dx, dy, dz);
    }
    void preset(const ReadState& state) { builder.preset(state.record); }
};

} // namespace

CutDataSet ReferenceTextLoad(std::span<const char> bytes) {
    const char* text = bytes.data();
    const char* end = text + bytes.size();
    CutBuilder builder(cuttext::countBlockLines(text, end));
    BuilderSink sink{builder};
    ReadState state;
    cuttext::forEachLine(text, end,
                         [&](const char* line) { return cuttext::readLine(line, state, sink); });
    return builder.take();
}

CutDataSet ReferenceBinaryLoad(std::span<const char> bytes) {
    using namespace cutbinary;
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = begin + bytes.size();
    CutBuilder builder(bytes.size() / 3 + 1);
    ReadState state = startState(begin);
    builder.addStart(state.record);
    for (const unsigned char* p = begin + kHeaderSize; p + 2 <= end && (flagsAt(p) & 0xFF) != 0;) {
        float delta[3] = {0.0f, 0.0f, 0.0f};
        p = applyEntry(p, state, delta);
        builder.add(state.record, delta[0], delta[1], delta[2]);
    }
    return builder.take();
}
