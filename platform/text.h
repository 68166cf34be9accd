#pragma once
// Text helpers shared by every part of the device: UTF-8 <-> UTF-16 conversion, the number
// reading and writing the program uses on the wire and in files, and case folding for device
// paths and registry names (both compare case-insensitively, as on the handset).

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Malformed input (bad UTF-8 sequences, lone surrogates) becomes U+FFFD; never throws.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Well-formed UTF-8 without a 0 character: converting it to UTF-16 and back gives it unchanged.
bool IsWellFormedUtf8(std::string_view text);

// Signed decimal: optional leading blanks, an optional sign, then digits up to the first
// non-digit. Text that does not start with a number reads as 0; values beyond the range are
// clamped to it.
int32_t ParseInt(std::string_view text);
int32_t ParseInt(std::u16string_view text);
// Unsigned 32-bit decimal; a leading "-" or no digits reads as 0, overflow clamps.
uint32_t ParseUInt(std::string_view text);
uint32_t ParseUInt(std::u16string_view text);
// Decimal floating point ("3.5", "-1e3"); the decimal separator is always ".".
double ParseDouble(std::string_view text);
double ParseDouble(std::u16string_view text);

std::u16string IntToText(int64_t value);
std::string IntToString(int64_t value);

// Simple case folding (ASCII, Latin-1, Greek, Cyrillic), enough for the names a device holds.
char32_t FoldCase(char32_t c);
std::string FoldCase(std::string_view utf8);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Replaces every occurrence of `from` (not empty) by `to`.
std::u16string ReplaceAll(std::u16string text, std::u16string_view from, std::u16string_view to);

}  // namespace platform
