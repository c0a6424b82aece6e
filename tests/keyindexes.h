#pragma once

#include <set>

namespace riderar::testing {

/// The indexes that have a Keys button on the window: the codes of the lower-cased key
/// captions, 0 for Esc and 14 for the upper part of Enter.
inline std::set<int> workingKeyIndexes()
{
    std::set<int> indexes{0, 8, 13, 14, 32, 39, 59, 61, 91, 92, 93, 126};
    for (int i = 44; i <= 57; ++i)
        indexes.insert(i);
    for (int i = 97; i <= 122; ++i)
        indexes.insert(i);
    return indexes;
}

} // namespace riderar::testing
