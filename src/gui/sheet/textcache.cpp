#include "sheet/textcache.h"

#include "columnfit.h"
#include "numbers.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <list>
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

TextCache::Store::Store(const QFont &in)
    : font(in), metrics(in), digits_widths(kDigitsTexts, kUnmeasured)
{
}

std::shared_ptr<TextCache::Store> TextCache::store_for(const QFont &font)
{
    // The latest few fonts stay while no window uses them: closing the last
    // sheet and opening another keeps what was drawn.
    static std::list<std::shared_ptr<Store>> recent;  // the latest first
    static const bool cleared_at_exit = [] {
        qAddPostRoutine([] { recent.clear(); });
        return true;
    }();
    Q_UNUSED(cleared_at_exit);
    const auto same = std::find_if(recent.begin(), recent.end(),
                                   [&font](const std::shared_ptr<Store> &store) { return store->font == font; });
    if (same != recent.end()) {
        recent.splice(recent.begin(), recent, same);
    } else {
        recent.push_front(std::make_shared<Store>(font));
        if (recent.size() > 4)
            recent.pop_back();
    }
    return recent.front();
}

TextCache::TextCache(const QFont &font) : d_(store_for(font)) {}

void TextCache::set_font(const QFont &font)
{
    if (font != d_->font)
        d_ = store_for(font);
}

void TextCache::forget_when_full()
{
    if (d_->widths.size() > kMostTexts)
        d_->widths.clear();
    if (d_->number_widths.size() > kMostTexts)
        d_->number_widths.clear();
    if (d_->laid_out.size() > kMostTexts)
        d_->laid_out.clear();
    if (d_->drawn.size() > kMostDrawn)
        d_->drawn.clear();
}

double TextCache::width(const QString &text)
{
    auto it = d_->widths.constFind(text);
    if (it == d_->widths.constEnd()) {
        forget_when_full();
        it = d_->widths.insert(text, d_->metrics.horizontalAdvance(text));
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
        double &kept = d_->digits_widths[at];
        if (kept == kUnmeasured)
            kept = measured_number_width(text);
        return kept;
    }
    auto it = d_->number_widths.constFind(text);
    if (it == d_->number_widths.constEnd()) {
        forget_when_full();
        it = d_->number_widths.insert(text, measured_number_width(text));
    }
    return *it;
}

const QStaticText &TextCache::laid_out(const QString &text)
{
    auto it = d_->laid_out.constFind(text);
    if (it == d_->laid_out.constEnd()) {
        forget_when_full();
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.setPerformanceHint(QStaticText::AggressiveCaching);
        laid.prepare(QTransform(), d_->font);
        it = d_->laid_out.insert(text, laid);
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
    auto it = d_->drawn.constFind(key);
    if (it == d_->drawn.constEnd()) {
        forget_when_full();
        const double x = kPad + key.fraction / 64.0;
        QImage image(int(std::ceil(x + width(text))) + kPad, height, QImage::Format_RGB32);
        image.fill(background);
        QPainter painter(&image);
        painter.setPen(pen);
        painter.setFont(d_->font);
        painter.drawStaticText(QPointF(x, top), laid_out(text));
        painter.end();
        it = d_->drawn.insert(key, image);
    }
    return &*it;
}
