#pragma once

#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPainter;

// The line in the bottom margin of every printed page, the sheet's and the
// report's alike: what is printed, the day it was printed, and page n of N.
namespace pagefooter {

// Today, as the footer shows it.
QString printed_on();
// "n / N", n counted from 1.
QString page_of(qsizetype n, qsizetype total);

// Widens the device's bottom margin so the footer has room below the page's
// contents, above what the printer needs.
void make_room(QPagedPaintDevice &device);

// Draws the footer just below page (the drawing area, in the painter's
// coordinates, which are the device's pixels).
void draw(QPainter &painter, const QRectF &page, const QString &name, const QString &date,
          const QString &number);

}  // namespace pagefooter
