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
    QStringList qt_options;  // before Qt: Qt's own options with their values
    std::optional<int> exit_code;
};
// before_qt: Qt has not yet taken its own options (-platform ...), so those
// are passed over; any other unknown option is refused either way.
StartOptions start_options(const QStringList &args, bool before_qt, QTextStream &out,
                           QTextStream &err);
// The same on stdout and stderr.
StartOptions start_options(const QStringList &args, bool before_qt);

// Qt's own options the launcher lets through: whether one takes a value,
// nothing when it is none of them.
std::optional<bool> qt_option(const QString &arg);

// True when Qt would find no screen to show the window on and end the program
// with its own message; the launcher then says so itself.
bool display_missing(const QStringList &qt_options, const QString &platform_env,
                     const QString &display, const QString &wayland_display);
QString no_display_message();

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
