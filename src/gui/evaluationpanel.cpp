#include "evaluationpanel.h"

#include "geometry.h"

using namespace Qt::StringLiterals;

EvaluationPanel::EvaluationPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(u"Frame6"_s);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(pal);
    setToolTip(u"ここをドラッグすれば移動できます"_s);
    geometry::place(this, 0, 0, 3375, 8895);
    hide();
}
