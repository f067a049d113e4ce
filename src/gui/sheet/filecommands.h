#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class CellEditor;
class InputPanels;
class Prompter;
class QWidget;
class Sheet;

// Saving the sheet to its file and reading a file into it, with the dialogs
// and questions around both.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    FileCommands(QWidget *window, Sheet *sheet, CellEditor *editor, InputPanels *inputs,
                 Prompter &prompter);

    // How a save ended: only Saved wrote the file.
    enum class SaveOutcome { Saved, Cancelled, Failed };

    SaveOutcome save_sheet();
    // Writes a sheet that has a file of its own back into it without a
    // dialog or a question; a sheet without one is saved as save_sheet does.
    SaveOutcome save_in_place();
    void read_sheet();
    // Reads a file chosen elsewhere (the command line) as read_sheet does.
    void read_path(const QString &path);
    // Puts back a sheet kept for recovery: it belongs to its file again, if it
    // had one, and stays unsaved.
    void restore(const QByteArray &sheet_file, const QString &sheet_name);
    // "シート保存(&W)": a save that was not cancelled marks the sheet saved.
    void sheet_write();

    // Filters of the sheet file dialogs.
    static QStringList file_filters();

    // Asked before a chosen file is read; true: another window holding it
    // was brought forward, and this one closes as after a cancel.
    void set_open_copy_check(std::function<bool(const QString &)> check)
    {
        open_copy_check_ = std::move(check);
    }

signals:
    // This sheet has content: a new sheet window is to read the file.
    void read_elsewhere_requested();
    // The window is to close without asking (read cancelled or refused).
    void close_requested();
    // A file was read into the sheet.
    void read_done(const QString &path);
    // The sheet was written to a file, which is now its own.
    void saved_to(const QString &path);
    // The sheet holds what was read or restored: a fresh start.
    void loaded();

private:
    void show_read(const QString &path);
    SaveOutcome write_to(const QString &path);

    QWidget *window_;
    Sheet *sheet_;
    CellEditor *editor_;
    InputPanels *inputs_;
    Prompter &prompter_;
    std::function<bool(const QString &)> open_copy_check_;
};
