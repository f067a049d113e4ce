#pragma once

class CountDialog;
class QString;
class Prompter;
class PreviewWindow;
class PrinterSettings;
class SheetWindow;

// What a sheet window asks of the frame that holds it. Requests that need
// no answer go up as the window's signals instead.
class SheetHost
{
public:
    virtual ~SheetHost() = default;

    virtual Prompter &prompter() const = 0;
    // Whether this sheet window is the frame's active one.
    virtual bool is_active(const SheetWindow *sheet) const = 0;
    virtual bool frame_minimized() const = 0;
    // Before a file is read into asking: when another sheet window already
    // holds it, the teacher chooses; true means that window was brought
    // forward instead, and the file is not to be read a second time.
    virtual bool go_to_open_copy(const SheetWindow *asking, const QString &path) = 0;
    // The one count dialog of the program.
    virtual CountDialog &count_dialog() = 0;
    // The one print image window of the program.
    virtual PreviewWindow &preview_window() = 0;
    // The paper and orientation in force for printing and preview.
    virtual PrinterSettings &printer_settings() = 0;
};
