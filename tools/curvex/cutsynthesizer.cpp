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

CutSynthesizer::CutSynthesizer(std::uint64_t seed) : m_random(seed) {}

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
                    std::clamp(m_current.x + uniform(-6000, 6000), -kFieldHalf, kFieldHalf);
                const std::int32_t y =
                    std::clamp(m_current.y + uniform(-6000, 6000), -kFieldHalf, kFieldHalf);
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
    emit(writer);
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
    emit(writer);
}

void CutSynthesizer::emit(CutWriter& writer) {
    ++m_current.blockNo;
    writer.block(m_current, m_previous);
    m_previous = m_current;
    ++m_written;
}
