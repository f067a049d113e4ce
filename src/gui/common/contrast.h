#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

// A dark desktop (a high-contrast or dark colour scheme) gives light text:
// the program's own light backgrounds would hide it, so there they give way
// to the desktop's colours. Decided when a window is made.
namespace contrast {

inline bool desktop_is_dark()
{
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

// The program's light colour on a light desktop, else the desktop's colour
// for the role.
inline QColor background(const QColor &light, QPalette::ColorRole role)
{
    return desktop_is_dark() ? QGuiApplication::palette().color(role) : light;
}

// What stands out (the selection, the bars of counts): the program's light
// colour, or on a dark desktop a shade between its background and its text
// that the text still stands out on.
inline QColor tint(const QColor &light)
{
    if (!desktop_is_dark())
        return light;
    const QPalette palette = QGuiApplication::palette();
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    auto mix = [](double b, double t) { return 0.7 * b + 0.3 * t; };
    return QColor::fromRgbF(float(mix(base.redF(), text.redF())), float(mix(base.greenF(), text.greenF())),
                            float(mix(base.blueF(), text.blueF())));
}

}  // namespace contrast
