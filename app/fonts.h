#pragma once

#include <QFont>

namespace riderar {

/// The window's font: the system's user-interface font, falling back to a face that shows
/// Simplified Chinese for the captions.
QFont windowFont();

/// "MS Sans Serif" at the given point size, falling back to installed sans-serif faces of the
/// same size where it is missing.
QFont sansSerifFont(qreal pointSize);

} // namespace riderar
