#include "binarycutwriter.h"

#include <cstring>
#include <limits>
#include <type_traits>

template <typename T> void BinaryCutWriter::append(T value) {
    std::make_unsigned_t<T> bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (std::size_t i = 0; i < sizeof bits; ++i)
        bytes_ += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

template <> void BinaryCutWriter::append<float>(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    append(bits);
}

// The float the text loader reads from the same value written with three decimals.
void BinaryCutWriter::appendMicrometres(std::int32_t value) {
    append(static_cast<float>(value / 1000.0));
}

void BinaryCutWriter::start(std::int32_t x, std::int32_t y, std::int32_t z) {
    appendMicrometres(x);
    appendMicrometres(y);
    appendMicrometres(z);
}

void BinaryCutWriter::preset(std::int32_t, std::int32_t, std::int32_t) {}

void BinaryCutWriter::remark(const std::string&) {}

void BinaryCutWriter::toolChange(std::int16_t) {}

void BinaryCutWriter::block(const SynthBlock& current, const SynthBlock& previous) {
    const bool kindChanged = current.removalKind != previous.removalKind;
    const bool removalChanged = kindChanged || current.removal != previous.removal ||
                                current.removalNaN != previous.removalNaN;
    std::uint16_t flags = 0;
    // A kind above 3 clears the removal on loading, so the removal follows it in the entry.
    const bool fields[] = {current.toolNo != previous.toolNo,
                           current.blockNo != previous.blockNo,
                           current.motionCode != previous.motionCode,
                           current.x != previous.x,
                           current.y != previous.y,
                           current.z != previous.z,
                           current.orgFeed != previous.orgFeed,
                           kindChanged,
                           removalChanged,
                           current.optFeed != previous.optFeed};
    for (int bit = 0; bit < 10; ++bit) {
        if (fields[bit])
            flags = static_cast<std::uint16_t>(flags | (1u << bit));
    }
    // An entry needs a bit in its low byte, or it would end the data.
    if ((flags & 0xFF) == 0)
        flags |= 0x0002;
    append(flags);
    if (flags & 0x0001)
        append(current.toolNo);
    if (flags & 0x0002)
        append(current.blockNo);
    if (flags & 0x0004)
        append(current.motionCode);
    if (flags & 0x0008)
        appendMicrometres(current.x);
    if (flags & 0x0010)
        appendMicrometres(current.y);
    if (flags & 0x0020)
        appendMicrometres(current.z);
    if (flags & 0x0040)
        append(current.orgFeed);
    if (flags & 0x0080)
        append(current.removalKind);
    if (flags & 0x0100)
        append(current.removalNaN ? std::numeric_limits<float>::quiet_NaN()
                                  : static_cast<float>(current.removal / 10000.0));
    if (flags & 0x0200)
        append(current.optFeed);
}
