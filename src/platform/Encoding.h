#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Text is UTF-8 inside the program; these convert at the file and wire edges.

// The character of the well-formed UTF-8 sequence at `bytes[pos]` and its length in bytes, or
// nothing for a stray byte, an overlong form, a surrogate or a value beyond U+10FFFF.
std::optional<std::pair<char32_t, std::size_t>> Utf8SequenceAt(std::string_view bytes, std::size_t pos);
// Every byte belongs to a well-formed sequence.
bool IsValidUtf8(std::string_view bytes);

// Bytes of a text file to UTF-8: a leading UTF-8, UTF-16LE or UTF-16BE byte-order mark selects
// that encoding; otherwise valid UTF-8 that holds non-ASCII bytes is UTF-8; otherwise Windows-1252.
std::string DecodeText(std::string_view bytes);

// UTF-8 to the bytes of a text file: Windows-1252 when every character has a Windows-1252 byte,
// otherwise UTF-8 with a byte-order mark, so that no character is lost.
std::string EncodeText(std::string_view utf8);

// One Windows-1252 byte per character (the serial wire); a character without one becomes its
// best-fit substitute or '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

// One byte per character (the TCP wire): characters below 256 as that byte value, others as '?'.
std::string Utf8ToLatin1(std::string_view utf8);

// 7-bit ASCII: accented Latin letters become their base letters (å to a, Ö to O, æ to ae),
// single and double typographic quotes become the apostrophe, everything without a substitute
// becomes '?'. No other character becomes '"' or '\', so JSON text keeps its meaning.
// Independent of the process locale.
std::string Utf8ToAsciiBestFit(std::string_view utf8);
