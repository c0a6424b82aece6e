#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace riderar {

/// Texts of the practice state and of the controls: UTF-16, one unit per character code.
using Text = std::u16string;
using TextView = std::u16string_view;

/// Widens ASCII text (the passages, key captions and digits) to a Text.
inline Text textFromAscii(std::string_view ascii)
{
    return Text(ascii.begin(), ascii.end());
}

} // namespace riderar
