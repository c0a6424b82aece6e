#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace riderar {

/// The two arrays of key buttons: Keys are the working keys, indexed by the code of the
/// lower-cased character on the caption; Key are decorative and handle no event.
enum class KeyArray : std::uint8_t
{
    Keys,
    Key
};

struct KeySpec
{
    int top; ///< the row's top in the window's client area, in twips
    KeyArray array;
    std::int16_t index;
    std::string_view caption;
    int left, width, height;
    int tab;
};

inline constexpr std::size_t keyButtonCount = 72;
inline constexpr std::int16_t highestKeyIndex = 126;

namespace keytable {
inline constexpr KeyArray Keys = KeyArray::Keys;
inline constexpr KeyArray Key = KeyArray::Key;

// The on-screen keyboard, row by row, each row from left to right. Keys(14) is the caption-less
// upper part of the Enter key; Keys(13), created after it, lies over its lower 90 twips.
// clang-format off
inline constexpr std::array<KeySpec, keyButtonCount> keySpecs{{
    // top  array  index caption       left  width height tab
    { 2640, Keys,    0, "Esc",            0,   450,  450,   0},
    { 2640, Key,     1, "F1",           960,   450,  450,   1},
    { 2640, Key,     2, "F2",          1440,   450,  450,   2},
    { 2640, Key,     3, "F3",          1920,   450,  450,   3},
    { 2640, Key,     4, "F4",          2400,   450,  450,   4},
    { 2640, Key,     5, "F5",          3240,   450,  450,   5},
    { 2640, Key,     6, "F6",          3720,   450,  450,   6},
    { 2640, Key,     7, "F7",          4200,   450,  450,   7},
    { 2640, Key,     8, "F8",          4680,   450,  450,   8},
    { 2640, Key,     9, "F9",          5520,   450,  450,   9},
    { 2640, Key,    10, "F10",         6000,   450,  450,  10},
    { 2640, Key,    11, "F11",         6480,   450,  450,  11},
    { 2640, Key,    12, "F12",         6960,   450,  450,  12},
    { 3240, Keys,  126, "~",              0,   450,  450,  13},
    { 3240, Keys,   49, "1",            480,   450,  450,  14},
    { 3240, Keys,   50, "2",            960,   450,  450,  15},
    { 3240, Keys,   51, "3",           1440,   450,  450,  16},
    { 3240, Keys,   52, "4",           1920,   450,  450,  17},
    { 3240, Keys,   53, "5",           2400,   450,  450,  18},
    { 3240, Keys,   54, "6",           2880,   450,  450,  19},
    { 3240, Keys,   55, "7",           3360,   450,  450,  20},
    { 3240, Keys,   56, "8",           3840,   450,  450,  21},
    { 3240, Keys,   57, "9",           4320,   450,  450,  22},
    { 3240, Keys,   48, "0",           4800,   450,  450,  23},
    { 3240, Keys,   45, "-",           5280,   450,  450,  24},
    { 3240, Keys,   61, "=",           5760,   450,  450,  25},
    { 3240, Keys,    8, "Back Space",  6240,  1170,  450,  26},
    { 3720, Key,    40, "Tab",            0,   690,  450,  40},
    { 3720, Keys,  113, "Q",            720,   450,  450,  27},
    { 3720, Keys,  119, "W",           1200,   450,  450,  28},
    { 3720, Keys,  101, "E",           1680,   450,  450,  29},
    { 3720, Keys,  114, "R",           2160,   450,  450,  30},
    { 3720, Keys,  116, "T",           2640,   450,  450,  31},
    { 3720, Keys,  121, "Y",           3120,   450,  450,  32},
    { 3720, Keys,  117, "U",           3600,   450,  450,  33},
    { 3720, Keys,  105, "I",           4080,   450,  450,  34},
    { 3720, Keys,  111, "O",           4560,   450,  450,  35},
    { 3720, Keys,  112, "P",           5040,   450,  450,  36},
    { 3720, Keys,   91, "[",           5520,   450,  450,  37},
    { 3720, Keys,   93, "]",           6000,   450,  450,  38},
    { 3720, Keys,   14, "",            6480,   930,  570,  39},
    { 4200, Key,    42, "Caps Lock",      0,   930,  450,  53},
    { 4200, Keys,   97, "A",            960,   450,  450,  51},
    { 4200, Keys,  115, "S",           1440,   450,  450,  50},
    { 4200, Keys,  100, "D",           1920,   450,  450,  49},
    { 4200, Keys,  102, "F",           2400,   450,  450,  48},
    { 4200, Keys,  103, "G",           2880,   450,  450,  47},
    { 4200, Keys,  104, "H",           3360,   450,  450,  46},
    { 4200, Keys,  106, "J",           3840,   450,  450,  45},
    { 4200, Keys,  107, "K",           4320,   450,  450,  44},
    { 4200, Keys,  108, "L",           4800,   450,  450,  43},
    { 4200, Keys,   59, ";",           5280,   450,  450,  42},
    { 4200, Keys,   39, "'",           5760,   450,  450,  41},
    { 4200, Keys,   13, "Enter",       6240,  1170,  450,  52},
    { 4680, Key,    64, "Shift",          0,  1170,  450,  64},
    { 4680, Keys,  122, "Z",           1200,   450,  450,  54},
    { 4680, Keys,  120, "X",           1680,   450,  450,  55},
    { 4680, Keys,   99, "C",           2160,   450,  450,  56},
    { 4680, Keys,  118, "V",           2640,   450,  450,  57},
    { 4680, Keys,   98, "B",           3120,   450,  450,  58},
    { 4680, Keys,  110, "N",           3600,   450,  450,  59},
    { 4680, Keys,  109, "M",           4080,   450,  450,  60},
    { 4680, Keys,   44, ",",           4560,   450,  450,  61},
    { 4680, Keys,   46, ".",           5040,   450,  450,  62},
    { 4680, Keys,   47, "/",           5520,   450,  450,  63},
    { 4680, Key,    65, "Shift",       6000,   930,  450,  65},
    { 4680, Keys,   92, "\\",          6960,   450,  450,  66},
    { 5160, Key,    68, "Ctrl",           0,   690,  450,  68},
    { 5160, Key,    69, "Alt",          720,   690,  450,  69},
    { 5160, Keys,   32, "Space Bar",   1440,  4530,  450,  67},
    { 5160, Key,    70, "Ctrl",        6000,   690,  450,  70},
    { 5160, Key,    71, "Alt",         6720,   690,  450,  71},}};
// clang-format on
} // namespace keytable

using keytable::keySpecs;

} // namespace riderar
