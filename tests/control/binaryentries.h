#pragma once

#include "cutdatatesting.h"

#include <limits>
#include <random>
#include <string>

// Binary files for the tests of the parallel decoder and of the scan that cuts it into parts.

// Entries of random field sets, so that fields keep their value across the cuts between parts
// for some hundred entries: tool 0 and tool changes, G00 moves, removal kinds beyond 3 (which
// clear the removal), NaN, infinite and negative zero coordinates and removals, flag bits above
// the ten fields; now and then a flag word whose low byte is zero ends the data before the file.
inline std::string randomEntries(unsigned seed, int entries, bool endEarly) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    const float numbers[] = {1.5f,
                             -2.25f,
                             0.0f,
                             -0.0f,
                             12.125f,
                             1e30f,
                             7.0f,
                             0.03f,
                             std::numeric_limits<float>::quiet_NaN(),
                             -std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity()};
    const auto number = [&] { return numbers[percent(random) % 11]; };
    BinaryBytes bytes;
    bytes.header(number(), 2.0f, 3.0f);
    for (int i = 0; i < entries; ++i) {
        std::uint16_t flags = 0;
        const int chances[10] = {2, 60, 10, 40, 40, 20, 5, 15, 30, 20};
        for (int bit = 0; bit < 10; ++bit)
            if (percent(random) < chances[bit])
                flags = static_cast<std::uint16_t>(flags | (1u << bit));
        if ((flags & 0xFF) == 0)
            flags |= 0x0002;
        if (percent(random) < 3)
            flags |= 0x8400;
        bytes.u16(flags);
        if (flags & 0x0001)
            bytes.u16(static_cast<std::uint16_t>(percent(random) % 4));
        if (flags & 0x0002)
            bytes.i32(i * 3 - 50);
        if (flags & 0x0004)
            bytes.u8(static_cast<std::uint8_t>(percent(random) % 4));
        for (int axis = 0; axis < 3; ++axis)
            if (flags & (0x0008 << axis))
                bytes.f32(number());
        if (flags & 0x0040)
            bytes.i32(percent(random) * 40 - 400);
        if (flags & 0x0080)
            bytes.u8(static_cast<std::uint8_t>(percent(random) % 7));
        if (flags & 0x0100)
            bytes.f32(number());
        if (flags & 0x0200)
            bytes.i32(percent(random) * 50);
    }
    if (endEarly)
        bytes.u16(0x0100).f32(5.0f).u16(0x0008);
    return bytes.bytes();
}

// Entries that move and change the tool every `toolRun` entries: the move index keeps the runs of
// each part apart and adds them in order, or, with runs too short for that, indexes on one thread.
inline std::string toolChanges(int entries, int toolRun) {
    BinaryBytes bytes;
    bytes.header(0, 0, 0);
    for (int i = 0; i < entries; ++i)
        bytes.u16(0x024F)
            .u16(static_cast<std::uint16_t>(i / toolRun % 3))
            .i32(i)
            .u8(i % 5 == 0 ? 0 : 1)
            .f32(static_cast<float>(i % 13))
            .i32(1000 + i % 7)
            .i32(i % 11 == 0 ? 0 : 1500);
    return bytes.bytes();
}
