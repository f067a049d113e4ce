#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QStaticText>
#include <QString>
#include <memory>

// The grid's texts measured and laid out in its font, each distinct text
// once: a sheet of marks holds about a hundred distinct texts however large
// it is. Grids in the same font share them.
class TextCache
{
public:
    explicit TextCache(const QFont &font);

    const QFont &font() const { return d_->font; }
    // Takes what is kept for another font.
    void set_font(const QFont &font);

    double width(const QString &text);
    // The width of the number a text reads as (spaces aside), 0 when it
    // reads as none.
    double number_width(const QString &text);
    // The text laid out for drawing on one line.
    const QStaticText &laid_out(const QString &text);

    // Columns of background either side of a drawn text.
    static constexpr int kPad = 1;
    // A text drawn once in pen on an opaque background, in an image as high
    // as its row with the line top pixels down and kPad pixels plus the
    // fraction of a pixel given in: copying those pixels is several times
    // quicker than drawing the glyphs again. Null on a background that is
    // not opaque.
    const QImage *drawn(const QString &text, const QColor &pen, const QColor &background, double fraction,
                        int height, int top);

private:
    void forget_when_full();
    double measured_number_width(const QString &text);

    struct DrawnKey {
        QString text;
        QRgb pen;
        QRgb background;
        int fraction;  // in 64ths of a pixel
        int height;
        int top;
        friend bool operator==(const DrawnKey &, const DrawnKey &) = default;
        friend size_t qHash(const DrawnKey &key, size_t seed)
        {
            return qHashMulti(seed, key.text, key.pen, key.background, key.fraction, key.height, key.top);
        }
    };
    // What is kept for one font, shared by every grid in that font: a new
    // sheet window paints its first screen from what the others measured
    // and drew.
    struct Store {
        explicit Store(const QFont &in);
        QFont font;
        QFontMetricsF metrics;
        QHash<QString, double> widths;
        QHash<QString, double> number_widths;
        // Marks are mostly one to three digits: kept in a table indexed by
        // them, far quicker than finding the text among a sheet's 200,000
        // cells.
        QList<double> digits_widths;
        QHash<QString, QStaticText> laid_out;
        QHash<DrawnKey, QImage> drawn;
    };
    static std::shared_ptr<Store> store_for(const QFont &font);

    std::shared_ptr<Store> d_;
};
