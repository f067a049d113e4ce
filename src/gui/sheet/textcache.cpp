#include "sheet/textcache.h"

#include "columnfit.h"
#include "numbers.h"

namespace {

// Typing in a long session brings new texts without end; past this many the
// cache starts afresh rather than grow.
constexpr qsizetype kMostTexts = 20000;

}  // namespace

TextCache::TextCache(const QFont &font) : font_(font), metrics_(font)
{
}

void TextCache::set_font(const QFont &font)
{
    if (font == font_)
        return;
    font_ = font;
    metrics_ = QFontMetricsF(font);
    widths_.clear();
    number_widths_.clear();
    laid_out_.clear();
}

void TextCache::forget_when_full()
{
    if (widths_.size() > kMostTexts)
        widths_.clear();
    if (number_widths_.size() > kMostTexts)
        number_widths_.clear();
    if (laid_out_.size() > kMostTexts)
        laid_out_.clear();
}

double TextCache::width(const QString &text)
{
    auto it = widths_.constFind(text);
    if (it == widths_.constEnd()) {
        forget_when_full();
        it = widths_.insert(text, metrics_.horizontalAdvance(text));
    }
    return *it;
}

double TextCache::number_width(const QString &text)
{
    auto it = number_widths_.constFind(text);
    if (it == number_widths_.constEnd()) {
        forget_when_full();
        const QStringView trimmed = numbers::trim_spaces(text);
        const double w = columnfit::is_number(trimmed) ? width(trimmed.toString()) : 0.0;
        it = number_widths_.insert(text, w);
    }
    return *it;
}

const QStaticText &TextCache::laid_out(const QString &text)
{
    auto it = laid_out_.constFind(text);
    if (it == laid_out_.constEnd()) {
        forget_when_full();
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.setPerformanceHint(QStaticText::AggressiveCaching);
        laid.prepare(QTransform(), font_);
        it = laid_out_.insert(text, laid);
    }
    return *it;
}
