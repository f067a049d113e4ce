#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;
namespace gradereport {
struct Report;
}

namespace cli {

// Paints the report into a PDF file; returns why it could not, empty when it did.
using ReportPainter = std::function<QString(const gradereport::Report &, const QString &path)>;

// "ponsaiten report FILE... [-o report.pdf | --tsv]"; args[0] is the program,
// args[1] "report". painter is empty where no painting is at hand.
int run_report(const QStringList &args, QTextStream &out, QTextStream &err,
               const ReportPainter &painter);

// The report's arguments ask for a PDF, which needs the painting libraries.
bool report_wants_pdf(const QStringList &args);

// The sheet files a FILE argument stands for: the file, or a folder's
// files (not its subfolders) in name order.
QStringList report_files(const QString &arg);

}  // namespace cli
