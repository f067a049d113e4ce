#pragma once

#include <QFont>

// The program's fonts, asked for by family lists so that the Japanese system
// fonts win where they exist and a free CJK font serves elsewhere.
namespace fonts {

QFont sheet_font(double points);   // grid and sheet window
QFont editor_font(double points);  // in-place editor
QFont panel_font();                // side panels and dialogs

}  // namespace fonts
