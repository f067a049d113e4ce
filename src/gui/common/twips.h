#pragma once

class QFont;

// The one place where twips (1/1440 inch) meet screen pixels.
namespace twips {

// Pixels per inch of the screen; 96 when there is no screen.
double dpi();
int to_px(double twips);
double from_px(double px);
// Width of "*" in a font, in twips: the sheet unit width.
double unit_width(const QFont &font);
// Height of "*" in a font, in twips.
double unit_height(const QFont &font);

}  // namespace twips
