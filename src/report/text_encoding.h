// Text as the page and the console need it: logs are in Windows-1252, names and the page in UTF-8.
#pragma once

#include <string>
#include <string_view>

// Windows-1252 bytes as UTF-8; the five bytes the code page leaves undefined become U+FFFD.
std::string ansi_to_utf8(std::string_view bytes);
// `text` with every byte that does not belong to well-formed UTF-8 replaced by U+FFFD.
std::string well_formed_utf8(std::string_view text);
// Well-formed UTF-8 with control characters (C0, DEL and C1) written as \x1b or \u009b, so that a
// file name cannot drive the terminal that shows it.
std::string shown_text(std::string_view text);
// UTF-16 as the battery driver reports its texts; a lone surrogate becomes U+FFFD.
std::string utf8_of_utf16(std::u16string_view text);
// For element content and attribute values.
std::string html_escaped(std::string_view text);
// A JSON string literal that is also safe inside a <script> element.
std::string json_quoted(std::string_view text);
