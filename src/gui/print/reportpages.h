#pragma once

#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPainter;
namespace gradereport {
struct Report;
}

// The grade-meeting report on paper: the table of every class and all of
// them together, then each class's grade distribution as bars on one common
// scale, as many pages as it takes.
namespace reportpages {

// Paints every page onto a device the painter is already active on; returns
// every text it printed.
QString paint(const gradereport::Report &report, QPagedPaintDevice &device, QPainter &painter);
// The same onto pages of the given size (device pixels); new_page moves the
// painter on to the next page.
QString paint(const gradereport::Report &report, QPainter &painter, const QSizeF &page,
              const std::function<void()> &new_page);

// Puts the printed characters back into a PDF file's text where the font
// shares their glyphs with radicals; false when it could not.
bool correct_pdf_text(const QString &path, const QString &printed);

// The pages as images of an A4 landscape page at dpi, for the screen.
QList<QImage> page_images(const gradereport::Report &report, double dpi);

// Writes the report as a PDF file; returns why it could not, empty when it did.
QString write_pdf(const gradereport::Report &report, const QString &path);

}  // namespace reportpages
