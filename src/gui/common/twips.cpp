#include "common/twips.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace twips {

double dpi()
{
    if (auto *screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInchX();
    return 96.0;
}

int to_px(double twips)
{
    return int(std::lround(twips * dpi() / 1440.0));
}

double from_px(double px)
{
    return px * 1440.0 / dpi();
}

double unit_width(const QFont &font)
{
    return from_px(QFontMetricsF(font).horizontalAdvance(QStringLiteral("*")));
}

double unit_height(const QFont &font)
{
    return from_px(QFontMetricsF(font).height());
}

}  // namespace twips
