#pragma once

namespace riderar {

/// Places and sizes in the layout tables are in twips: 1,440 to the inch, 15 to a pixel at
/// 96 dots per inch. Converts to pixels, rounding to the nearest pixel.
constexpr int twipsToPixels(int twips)
{
    return twips >= 0 ? (twips * 2 + 15) / 30 : -((-twips * 2 + 15) / 30);
}

} // namespace riderar
