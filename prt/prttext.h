#pragma once

#include <QString>

#include <string_view>

namespace velmora {

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF and no sequence cut short at the end.
bool isValidUtf8(std::string_view bytes);

// The bytes as Windows-1252 text. The five bytes that code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of
// the same number, as Windows itself decodes them.
QString decodeWindows1252(std::string_view bytes);

// A text field of a file written by Windows tools or edited here: UTF-8 when
// the bytes are valid UTF-8, otherwise Windows-1252.
QString decodeFileText(std::string_view bytes);

} // namespace velmora
