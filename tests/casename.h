#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace riderar::testing {

/// A GoogleTest name for a table case from its description: "Ctrl+A" gives "Ctrl_A".
inline std::string caseName(std::string_view what)
{
    std::string name;
    for (const char c : what)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

/// Names each case of a parameterised test by its `what` field.
struct ByWhat
{
    template <typename Info> std::string operator()(const Info &info) const
    {
        return caseName(info.param.what);
    }
};

} // namespace riderar::testing
