#pragma once

#include "reportcommand.h"

#include <QStringList>
#include <optional>

class QTextStream;

namespace cli {

// True when the arguments ask for a batch command rather than the window.
bool is_batch(const QStringList &args);

// Runs a batch command; returns the process exit code.
int run(const QStringList &args);

// The same, writing to the given streams instead of stdout and stderr.
int run(const QStringList &args, QTextStream &out, QTextStream &err);

// The window's command line: sheet files to open, or an exit code when it
// only asked for help or the version, or was wrong.
struct StartOptions {
    QStringList files;
    std::optional<int> exit_code;
};
// before_qt: Qt has not yet taken its own one-dash options (-platform ...),
// so those are passed over; only help, version and unknown options count.
StartOptions start_options(const QStringList &args, bool before_qt, QTextStream &out,
                           QTextStream &err);
// The same on stdout and stderr.
StartOptions start_options(const QStringList &args, bool before_qt);

// What paints the report's PDF: set by the window module, which has the
// painting libraries; the launcher alone has none.
void set_report_painter(ReportPainter painter);
const ReportPainter &report_painter();

// Exit codes of the batch commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitForeign = 3;
inline constexpr int kExitIo = 4;
inline constexpr int kExitNothingToGrade = 5;

}  // namespace cli
