#pragma once

// The text operations a valuation run cuts its values with: the text between two markers, a split
// into digits and other characters, the fixed character pattern of a figure and the values of a
// comma-separated series. Text is Windows-1252 bytes; positions have no length limit.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// The text after the first strFirst in strCompleteString, up to the first strLast that follows,
// trimmed of spaces. The character right after a found start marker is skipped; a start marker at
// the very beginning stays in the result; an empty strFirst takes the whole text; an empty strLast
// means one space; " inner join " ... " on " gives the join form. Empty when the text is empty or
// strFirst is absent; everything after the marker when strLast is absent. Never fails.
std::string GetStringBetween(std::string_view strCompleteString, std::string_view strFirst,
                             std::string_view strLast = {}, bool bCaseSensitive = false);

// Splits StrToCheck into its digits 0-9 and its other characters (each in order), writes them to
// the targets that are given, and returns the digits when Numbers is true, else the others.
// Never fails.
std::string NumberOrNoNumber(std::string_view StrToCheck, bool Numbers,
                             std::string* NumericTextTarget = nullptr,
                             std::string* TextualTextTarget = nullptr);

// Telnum unchanged up to 5 characters, its first 3 characters at 6, and the layout
// "(123) 456-7890x..." from 7 characters on (parts past the end are left out). Never fails.
std::string Format_Telephone_Number(std::string_view Telnum);

// The remainder that GetStringBetween cuts its result from: the text after the first start marker
// with the skipped character left out, trimmed (the whole text trimmed when the marker stands at
// the beginning or is empty). Empty when the text is empty or the marker is absent. Never fails.
std::string_view textAfterMarker(std::string_view text, std::string_view first,
                                 bool caseSensitive = false);

// Position of the first occurrence of needle in text at or after from, comparing exactly or
// without regard to case (ASCII and Windows-1252 letters); npos when absent. Linear in the text.
std::size_t findText(std::string_view text, std::string_view needle, std::size_t from = 0,
                     bool caseSensitive = false);

// text without the spaces (0x20 only) at both ends.
std::string_view trimSpaces(std::string_view text);

// The texts between the commas of a series such as "250,262,275": an empty text has none, a
// trailing comma gives an empty last one. Never fails.
std::vector<std::string_view> splitValues(std::string_view series);

}  // namespace korvane
