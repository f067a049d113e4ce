#pragma once

#include <QStringList>

namespace cli {

// True when the arguments ask for a batch command rather than the window.
bool is_batch(const QStringList &args);

// Runs a batch command; returns the process exit code.
int run(const QStringList &args);

}  // namespace cli
