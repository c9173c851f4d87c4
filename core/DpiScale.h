#pragma once
// Lengths at a screen's DPI. The pop-up is designed in pixels of a 96-DPI
// screen; on a screen of another DPI every one of its lengths and places is
// the 96-DPI value times DPI/96, rounded to the nearest pixel.

constexpr int kDefaultDpi = 96;

// A DPI to scale by: `dpi` itself, or 96 when the system reported none
// (zero or less) or one beyond any screen (more than 4800).
int UsableDpi(int dpi);

// `value` 96-DPI pixels at `dpi`, rounded to the nearest pixel, halves away
// from zero (as MulDiv rounds). At 96 DPI every value stays as it is.
int ScaleForDpi(int value, int dpi);

// The fewest 96-DPI pixels that are at least `pixels` long at `dpi`: a
// length measured on the screen, in the units the layout is designed in.
int UnscaleForDpi(int pixels, int dpi);
