#pragma once

#include <QStringList>

class QTextStream;

namespace cli {

// True when the arguments ask for a batch command rather than the window.
bool is_batch(const QStringList &args);

// Runs a batch command; returns the process exit code.
int run(const QStringList &args);

// The same, writing to the given streams instead of stdout and stderr.
int run(const QStringList &args, QTextStream &out, QTextStream &err);

// Exit codes of the batch commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitForeign = 3;
inline constexpr int kExitIo = 4;
inline constexpr int kExitNothingToGrade = 5;

}  // namespace cli
