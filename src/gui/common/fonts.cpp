#include "common/fonts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace fonts {

QFont sheet_font(double points)
{
    QFont font;
    font.setFamilies({u"ＭＳ ゴシック"_s, u"MS Gothic"_s, u"IPAGothic"_s, u"Noto Sans Mono CJK JP"_s});
    font.setPointSizeF(qMax(points, 1.0));
    return font;
}

QFont editor_font(double points)
{
    QFont font;
    font.setFamilies({u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s, u"Noto Sans CJK JP"_s});
    font.setPointSizeF(qMax(points, 1.0));
    return font;
}

QFont panel_font()
{
    return editor_font(9);
}

}  // namespace fonts
