// The quarter turn clockwise of a source picture: target pixel
// (column H - 1 - j, row i) is source pixel (column i, row j), so the top row
// becomes the right column. Palette pictures turn by their palette
// positions, true-colour ones by their colours; the palette goes along.
#pragma once

#include <functional>

#include "source_image.h"

// Called as source columns are done, with the count done so far, in steps
// of a few dozen columns (the turn goes block by block for the cache's sake).
using TTurnProgress = std::function<void(int ColumnsDone)>;

TSourceImage TurnQuarterClockwise(const TSourceImage& Source, const TTurnProgress& Progress);
