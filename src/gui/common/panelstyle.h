#pragma once

#include "common/contrast.h"

#include <QColor>
#include <QFrame>
#include <QPalette>

// The look of the panels that float over a sheet window: raised and silver.
inline void make_floating_panel(QFrame *panel)
{
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, contrast::background(QColor(192, 192, 192), QPalette::Window));
    panel->setPalette(pal);
}
