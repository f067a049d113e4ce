#pragma once

#include <QString>

class QPagedPaintDevice;
class QPainter;
namespace gradereport {
struct Report;
}

// The grade-meeting report on paper: the table of every class and all of
// them together, then each class's grade distribution as bars on one common
// scale, as many pages as it takes.
namespace reportpages {

// Paints every page onto a device the painter is already active on.
void paint(const gradereport::Report &report, QPagedPaintDevice &device, QPainter &painter);

// Writes the report as a PDF file; returns why it could not, empty when it did.
QString write_pdf(const gradereport::Report &report, const QString &path);

}  // namespace reportpages
