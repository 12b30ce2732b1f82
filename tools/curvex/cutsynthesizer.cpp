#include "cutsynthesizer.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr std::int32_t kSafeZ = 50000;     // um above the part
constexpr std::int32_t kApproachZ = 2000;  // um, end of the rapid approach
constexpr std::int32_t kFieldHalf = 80000; // um, half the width of the machined field
constexpr std::int16_t kToolCount = 6;

} // namespace

CutSynthesizer::CutSynthesizer(std::uint64_t seed, const SynthOptions& options)
    : m_random(seed), m_options(options) {}

// splitmix64: small, fast and the same on every platform.
std::uint64_t CutSynthesizer::next() {
    std::uint64_t z = (m_random += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::int32_t CutSynthesizer::uniform(std::int32_t low, std::int32_t high) {
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low + 1);
    return static_cast<std::int32_t>(low + static_cast<std::int64_t>(next() % span));
}

void CutSynthesizer::generate(std::int64_t blocks, CutWriter& writer) {
    begin(blocks, writer);
    while (!done()) {
        changeTool(writer);
        const std::int32_t startX = uniform(-kFieldHalf, kFieldHalf);
        const std::int32_t startY = uniform(-kFieldHalf, kFieldHalf);
        rapidTo(startX, startY, kSafeZ, writer);
        rapidTo(startX, startY, kApproachZ, writer);
        const std::int32_t passes = uniform(2, 12);
        for (std::int32_t pass = 0; pass < passes && !done(); ++pass) {
            const std::int32_t depth = -uniform(200, 3000) * (pass + 1) / 2;
            cut(1, m_current.x, m_current.y, depth, writer);
            const std::int32_t moves = uniform(10, 120);
            for (std::int32_t move = 0; move < moves && !done(); ++move) {
                const std::int32_t x =
                    std::clamp(m_current.x + uniform(-m_options.largestMove, m_options.largestMove),
                               -kFieldHalf, kFieldHalf);
                const std::int32_t y =
                    std::clamp(m_current.y + uniform(-m_options.largestMove, m_options.largestMove),
                               -kFieldHalf, kFieldHalf);
                const std::int32_t roll = uniform(0, 9);
                const std::uint8_t code = roll < 6 ? 1 : roll < 8 ? 2 : 3;
                cut(code, x, y, depth + uniform(-50, 50), writer);
            }
        }
        rapidTo(m_current.x, m_current.y, kSafeZ, writer);
        writer.remark("M09");
    }
    end(writer);
}

void CutSynthesizer::begin(std::int64_t blocks, CutWriter& writer) {
    m_blocks = blocks;
    m_written = 0;
    m_toolLeft = 0;
    m_current = SynthBlock{};
    m_current.motionCode = 255; // as the loaders start
    m_current.z = kSafeZ;
    m_previous = m_current;
    writer.remark("%");
    std::string programNumber = "O";
    programNumber += std::to_string(uniform(1000, 9999));
    writer.remark(programNumber);
    writer.remark("(MONITORING DATA, SEED-GENERATED)");
    writer.remark("");
    writer.start(m_current.x, m_current.y, m_current.z);
}

void CutSynthesizer::end(CutWriter& writer) {
    writer.remark("M30");
    writer.remark("%");
}

void CutSynthesizer::changeTool(CutWriter& writer) {
    const auto tool = static_cast<std::int16_t>(m_current.toolNo % kToolCount + 1);
    writer.remark("(TOOL CHANGE)");
    writer.toolChange(tool);
    writer.remark("M06");
    m_current.toolNo = tool;
    m_programmedFeed = uniform(4, 30) * 50;
}

void CutSynthesizer::rapidTo(std::int32_t x, std::int32_t y, std::int32_t z, CutWriter& writer) {
    if (done())
        return;
    m_current.motionCode = 0;
    m_current.x = x;
    m_current.y = y;
    m_current.z = z;
    m_current.removalKind = 0;
    m_current.removal = 0;
    m_current.removalNaN = false;
    mixIntoRapid();
    writeBlock(writer);
}

// A cutting block. The removal kinds stand for air cutting (N), then increasing engagement; the
// optimised feed rises where little is removed and falls where much is.
void CutSynthesizer::cut(std::uint8_t motionCode, std::int32_t x, std::int32_t y, std::int32_t z,
                         CutWriter& writer) {
    if (done())
        return;
    const std::int32_t roll = uniform(0, 19);
    const auto kind = static_cast<std::uint8_t>(roll < 2 ? 0 : 1 + roll % 4);
    cutRemoving(motionCode, x, y, z, kind, kind == 0 ? 0 : uniform(50, 2500) * kind, writer);
}

void CutSynthesizer::cutRemoving(std::uint8_t motionCode, std::int32_t x, std::int32_t y,
                                 std::int32_t z, std::uint8_t removalKind, std::int32_t removal,
                                 CutWriter& writer) {
    if (done())
        return;
    m_current.motionCode = motionCode;
    m_current.x = x;
    m_current.y = y;
    m_current.z = z;
    m_current.orgFeed = m_programmedFeed;
    m_current.removalKind = removalKind;
    m_current.removal = removal;
    const double load = m_current.removal / 10000.0;
    const double factor = std::clamp(1.6 - load * 0.6, 0.5, 1.5);
    m_current.optFeed = static_cast<std::int32_t>(std::lround(m_programmedFeed * factor));
    m_current.removalNaN = false;
    mixIntoCut();
    writeBlock(writer);
}

void CutSynthesizer::writeBlock(CutWriter& writer) {
    mixIntoEmit(writer);
    m_current.blockNo = nextBlockNo();
    writer.block(m_current, m_previous);
    m_previous = m_current;
    ++m_written;
}

bool CutSynthesizer::chance(int perMille) {
    return perMille > 0 && uniform(0, 999) < perMille;
}

// A cutting block that stands still, spikes, has a NaN removal or a feed of 0 or below.
void CutSynthesizer::mixIntoCut() {
    if (chance(m_options.standingStill)) {
        m_current.x = m_previous.x;
        m_current.y = m_previous.y;
        m_current.z = m_previous.z;
    }
    if (chance(m_options.spikes)) {
        m_current.removalKind = 2;
        m_current.removal =
            uniform(0, 3) == 0 ? -uniform(1, 50) * 10000 : uniform(100, 1000) * 10000;
    }
    if (chance(m_options.nanRemoval)) {
        m_current.removalKind = 2;
        m_current.removalNaN = true;
    }
    if (chance(m_options.feedsNotPositive)) {
        if (uniform(0, 1) == 0)
            m_current.orgFeed = uniform(0, 1) == 0 ? 0 : -250;
        else
            m_current.optFeed = uniform(0, 1) == 0 ? 0 : -1;
    }
}

// A rapid move that removes material.
void CutSynthesizer::mixIntoRapid() {
    if (chance(m_options.rapidRemoval)) {
        m_current.removalKind = 2;
        m_current.removal = uniform(50, 2500);
    }
}

// Before a block: a new tool every few blocks, or a G92 preset, which moves the position the
// loaders keep without a block.
void CutSynthesizer::mixIntoEmit(CutWriter& writer) {
    if (m_options.toolRun > 0 && --m_toolLeft <= 0) {
        m_toolLeft = uniform(1, m_options.toolRun);
        m_current.toolNo = static_cast<std::int16_t>(uniform(0, 5));
        writer.toolChange(m_current.toolNo);
    }
    if (chance(m_options.presets)) {
        m_previous.x = uniform(-kFieldHalf, kFieldHalf);
        m_previous.y = uniform(-kFieldHalf, kFieldHalf);
        m_previous.z = uniform(-kFieldHalf, kFieldHalf);
        writer.preset(m_previous.x, m_previous.y, m_previous.z);
    }
}

std::int32_t CutSynthesizer::nextBlockNo() {
    if (!m_options.blockNumbersRestart)
        return m_current.blockNo + 1;
    return chance(3) ? m_current.blockNo / 3 : m_current.blockNo + uniform(1, 3);
}
