#pragma once
// Draws a run of characters with a sized face onto a canvas: glyph coverage blends the text
// colour over what is there (full coverage gives the text colour exactly).
#include <string_view>

#include "platform/gdi/Canvas.h"
#include "platform/gdi/FontInstance.h"

// Draws `text` with the top of its cell at (x, top), in device coordinates; returns the
// run's width.
int PaintText(Canvas& canvas, FontInstance& font, std::u32string_view text, int x, int top, Pixel color);
