#pragma once

#include <QLatin1StringView>

// The object names of the windows, controls and commands. Tests find controls
// by them and assistive tools read them; they keep the names earlier versions
// gave them, so nothing that looks for them breaks. This header is the only
// place those names are spelled.
namespace object_name {

using namespace Qt::StringLiterals;

// --- Commands: menus, menu items, toolbar buttons -----------------------------

// --- Controls -----------------------------------------------------------------

}  // namespace object_name
