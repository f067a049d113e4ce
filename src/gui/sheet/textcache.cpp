#include "sheet/textcache.h"

#include "columnfit.h"
#include "numbers.h"

#include <QPainter>
#include <cmath>

namespace {

// Typing in a long session brings new texts without end; past this many the
// cache starts afresh rather than grow.
constexpr qsizetype kMostTexts = 20000;

constexpr double kUnmeasured = -1;

// Drawn texts take a few kilobytes each.
constexpr qsizetype kMostDrawn = 4000;

// The place of a text of one to three ASCII digits in the table of their
// widths ("7", "07" and "007" apart), -1 for any other text.
int digits_index(const QString &text)
{
    const int value = numbers::short_digits_value(text);
    if (value < 0)
        return -1;
    constexpr int kStart[] = {0, 0, 10, 110};
    return kStart[text.size()] + value;
}

constexpr int kDigitsTexts = 10 + 100 + 1000;

}  // namespace

TextCache::TextCache(const QFont &font)
    : font_(font), metrics_(font), digits_widths_(kDigitsTexts, kUnmeasured)
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
    digits_widths_.fill(kUnmeasured);
    laid_out_.clear();
    drawn_.clear();
}

void TextCache::forget_when_full()
{
    if (widths_.size() > kMostTexts)
        widths_.clear();
    if (number_widths_.size() > kMostTexts)
        number_widths_.clear();
    if (laid_out_.size() > kMostTexts)
        laid_out_.clear();
    if (drawn_.size() > kMostDrawn)
        drawn_.clear();
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

double TextCache::measured_number_width(const QString &text)
{
    const QStringView trimmed = numbers::trim_spaces(text);
    return columnfit::is_number(trimmed) ? width(trimmed.toString()) : 0.0;
}

double TextCache::number_width(const QString &text)
{
    if (const int at = digits_index(text); at >= 0) {
        double &kept = digits_widths_[at];
        if (kept == kUnmeasured)
            kept = measured_number_width(text);
        return kept;
    }
    auto it = number_widths_.constFind(text);
    if (it == number_widths_.constEnd()) {
        forget_when_full();
        it = number_widths_.insert(text, measured_number_width(text));
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

const QImage *TextCache::drawn(const QString &text, const QColor &pen, const QColor &background,
                               double fraction, int height, int top)
{
    Q_ASSERT(fraction >= 0 && fraction < 1 && height > 0);
    if (background.alpha() != 255)
        return nullptr;
    const DrawnKey key{text, pen.rgba(), background.rgba(), int(std::lround(fraction * 64)), height, top};
    auto it = drawn_.constFind(key);
    if (it == drawn_.constEnd()) {
        forget_when_full();
        const double x = kPad + key.fraction / 64.0;
        QImage image(int(std::ceil(x + width(text))) + kPad, height, QImage::Format_RGB32);
        image.fill(background);
        QPainter painter(&image);
        painter.setPen(pen);
        painter.setFont(font_);
        painter.drawStaticText(QPointF(x, top), laid_out(text));
        painter.end();
        it = drawn_.insert(key, image);
    }
    return &*it;
}
