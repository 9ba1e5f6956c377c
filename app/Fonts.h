// Fonts of the window. Each names the family the layout was drawn with first
// and falls back to metric-compatible families, then to CJK families (whose
// Latin glyphs are narrow enough for the layout and which carry the Chinese
// captions), and only then to the wide DejaVu Sans.
#pragma once

#include <QFont>

namespace app {

// "MS Sans Serif" (its TrueType twin "Microsoft Sans Serif" where there is
// one), 11 px: the font of every widget without a font of its own.
QFont DefaultFont();

// Bold face of the default families at the given pixel size.
QFont BoldFont(int pixelSize);

// "Courier New" and fixed-pitch fallbacks, for the report history.
QFont FixedPitchFont();

}  // namespace app
