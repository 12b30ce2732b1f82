#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The bytes of a settings file of the private-profile (INI) kind, read and edited without
// touching a byte that the edit does not change.
//
// Lines end with LF, CR LF or a lone CR, as the platform's own reader takes them (hand-edited
// files from old editors end their lines with CR alone). A line whose first non-blank byte is "["
// starts a section named by the text up to the first "]" (or the end of the line when there is
// none). A line with "=" is a key line of the current section unless it starts with ";" or "#" (a
// comment). Anything else is kept as it is and otherwise ignored. A UTF-8 byte-order mark before
// the first line is no part of it and stays where it is. Names match without regard to ASCII case;
// blanks (space and tab) around names and values do not count.
class ProfileText {
public:
    explicit ProfileText(std::string_view bytes) : bytes_(bytes) {}

    // The value of the first line of `key` in a section named `section`: without the blanks
    // around it, without one pair of matching quotes, and cut at a NUL byte. Nothing when the
    // section or the key is missing.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    // The whole text with `key` set to `value`: an existing key line gets the new value in place,
    // a missing key is added after the last key line of the section (or after its header), and a
    // missing section is added at the end. New lines end like the text's first line (LF when it
    // has none, or when its only line break is a CR at the very end).
    std::string withValue(std::string_view section, std::string_view key,
                          std::string_view value) const;

    // Whether the names and the value can be stored without changing the file's structure: non-
    // empty names without line breaks or NUL, no "]" in a section name, no "=" in a key name
    // and a key name that reads back as a key, a value without line breaks or NUL.
    static bool canStore(std::string_view section, std::string_view key, std::string_view value);

private:
    // Where a key was found, or where it would go.
    struct Location {
        bool keyFound = false;
        std::size_t valueBegin = 0; // first byte after "=" and the blanks that follow it
        std::size_t valueEnd = 0;   // end of the line's content (before CR LF or LF)
        bool sectionFound = false;
        std::size_t insertAt = 0; // end of the section's last key line or of its header
    };

    Location locate(std::string_view section, std::string_view key) const;
    std::size_t textBegin() const;
    std::string_view lineEnding() const;
    std::string_view missingLineEnd(std::size_t lineEnd) const;

    std::string_view bytes_;
};
