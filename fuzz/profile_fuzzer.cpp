// Fuzzes the settings-file routines. The input is a probe buffer size (one byte), then section,
// key and value separated by NUL bytes, then the file's content. Every input checks that a read
// stays inside its buffer and that a write keeps every line it does not touch, byte for byte; when
// the names and the value can be written as they are (no line breaks, no blanks at their ends, no
// "]" in the section, no "=" in the key, no quotes around the value), the value read back after
// the write is exactly the value written.

#include "privateprofile.h"
#include "scratchfolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct ProfileInput {
    std::size_t probeSize = 0;
    std::string_view section;
    std::string_view key;
    std::string_view value;
    std::string_view content;
};

// A default that no value can equal: values end at a line break.
constexpr std::string_view kMissing = "\n";

[[noreturn]] void Fail(std::string_view what) {
    std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

std::string_view NextField(std::string_view& rest) {
    const std::size_t end = rest.find('\0');
    const std::string_view field = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return field;
}

ProfileInput SplitInput(const std::uint8_t* data, std::size_t size) {
    ProfileInput input;
    if (size == 0)
        return input;
    input.probeSize = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    input.section = NextField(rest);
    input.key = NextField(rest);
    input.value = NextField(rest);
    input.content = rest;
    return input;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Free of line breaks and NUL bytes, and without blanks at either end.
bool IsPlainText(std::string_view text) {
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return false;
    return text.empty() || (!IsBlank(text.front()) && !IsBlank(text.back()));
}

bool IsQuoted(std::string_view value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

bool RoundTrips(const ProfileInput& in) {
    return !in.section.empty() && IsPlainText(in.section) &&
           in.section.find(']') == std::string_view::npos && !in.key.empty() &&
           IsPlainText(in.key) && in.key.find('=') == std::string_view::npos &&
           in.key.front() != '[' && in.key.front() != ';' && IsPlainText(in.value) &&
           !IsQuoted(in.value);
}

std::string Read(const ProfileInput& in, std::string_view defaultValue, std::size_t bufferSize,
                 const std::string& file) {
    std::vector<char> buffer(bufferSize);
    const std::size_t delivered = getPrivateProfileString(in.section, in.key, defaultValue,
                                                          buffer.data(), buffer.size(), file);
    if (delivered >= bufferSize || buffer[delivered] != '\0')
        Fail("a read delivered more than its buffer holds, or no terminating NUL");
    return std::string(buffer.data(), delivered);
}

// A read into a buffer of exactly the probe size, so that AddressSanitizer sees every byte
// written past it.
void ProbeRead(const ProfileInput& in, const std::string& file) {
    const auto buffer = std::make_unique<char[]>(in.probeSize);
    const std::size_t delivered =
        getPrivateProfileString(in.section, in.key, "default", buffer.get(), in.probeSize, file);
    if (in.probeSize == 0 ? delivered != 0 : delivered >= in.probeSize)
        Fail("a read delivered more than its buffer holds");
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

// The write may touch one line (the key it replaces, or the unterminated last line that gets a
// line end before an appended line) and add lines at one place; every other line must come back
// byte for byte and in order.
void CheckUntouchedLines(std::string_view before, std::string_view after) {
    const std::vector<std::string_view> old = SplitLines(before);
    const std::vector<std::string_view> now = SplitLines(after);
    std::size_t prefix = 0;
    while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    if (old.size() - prefix - suffix > 1)
        Fail("a write changed lines it should have kept");
}

void CheckNoLeftovers(const std::string& file) {
    std::size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder())) {
        ++entries;
        if (entry.path() != file)
            Fail("a write left a temporary file behind");
    }
    if (entries != 1)
        Fail("the settings file is missing after a write");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProfileInput in = SplitInput(data, size);
    const std::string file = ScratchFolder() + "/settings.ini";
    WriteBytes(file, in.content);

    ProbeRead(in, file);
    const std::size_t bigEnough = in.content.size() + in.value.size() + 2;
    const std::string before = Read(in, kMissing, bigEnough, file);

    const bool written = writePrivateProfileString(in.section, in.key, in.value, file);
    const std::string after = ReadBytes(file);
    if (!written) {
        if (after != in.content)
            Fail("a failed write changed the file");
        return 0;
    }
    CheckNoLeftovers(file);
    CheckUntouchedLines(in.content, after);
    if (!RoundTrips(in))
        return 0;
    if (Read(in, kMissing, bigEnough, file) != in.value)
        Fail("the value read back is not the value written");
    if (before != kMissing && SplitLines(after).size() != SplitLines(in.content).size())
        Fail("replacing an existing key changed the number of lines");
    return 0;
}
