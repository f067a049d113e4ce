#pragma once

#include "app/sheetframe.h"
#include "common/sheethost.h"
#include "sheet/commands.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <memory>

class CountDialog;
class PreviewWindow;
class PrinterSettings;
class PrintSettingsWindow;
class HelpViewer;
class QMdiArea;
class ReportWindow;
class RecoveryKeeper;
class QSettings;
class QMdiSubWindow;
class QTimer;
class QToolBar;
class SheetWindow;

// The frame that holds up to twenty numbered sheet windows, with the toolbar
// acting on the active sheet and the sheet count in its caption.
class MainWindow : public QMainWindow, public SheetHost, public SheetFrame
{
    Q_OBJECT

public:
    static constexpr int kMaxSheets = 20;

    explicit MainWindow(Prompter &prompter, QWidget *parent = nullptr);
    ~MainWindow() override;

    Prompter &prompter() const override { return prompter_; }
    bool is_active(const SheetWindow *sheet) const override;
    bool go_to_open_copy(const SheetWindow *asking, const QString &path) override;
    bool frame_minimized() const override { return isMinimized(); }
    CountDialog &count_dialog() override;
    PreviewWindow &preview_window() override;
    HelpViewer &help_viewer();
    PrinterSettings &printer_settings() override { return *printer_settings_; }
    // The grade-meeting report window over the open sheets and files the
    // teacher adds; returns it, open.
    ReportWindow *show_report();
    // The print settings window, made on first use.
    void show_print_settings();

    // Creates a sheet window with the lowest free number; nullptr when all
    // twenty numbers are taken (the teacher is told so).
    SheetWindow *create_sheet() override;
    // create_sheet, then read a file into the new sheet window.
    void create_sheet_and_load();
    // Each file into a sheet window of its own, the first into the empty
    // sheet of a fresh start.
    void open_files(const QStringList &paths);
    // A sample sheet, opened as an unnamed copy in a new sheet.
    void open_sample(const QString &path);
    // The one sheet of a fresh start while it is still empty, else nullptr.
    SheetWindow *empty_start_sheet() const override;

    SheetWindow *active_sheet() const;
    // The open sheet windows in the order they were loaded.
    QList<SheetWindow *> sheets() const override;

    int sheet_count() const;

    // 1: one above the other, 2: side by side, 0: cascaded.
    void arrange(int code);
    void show_about();

    // Runs a toolbar button by its caption; a disabled one does nothing.
    void toolbar_click(const QString &caption);

    QToolBar *toolbar() const { return toolbar_; }
    QMdiArea *mdi_area() const { return mdi_; }

    // Ends the program: asks every window to close, the last loaded first.
    // Returns false when a sheet window stayed open.
    bool end_program();

    // The frame's place is kept in these settings from run to run; false
    // when they hold none yet.
    bool restore_place(QSettings *settings);

    // Keeps copies of unsaved sheets in this folder and offers, once the
    // frame shows, what a crashed run left there.
    void enable_recovery(const QString &folder);
    RecoveryKeeper *recovery() const { return recovery_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build_toolbar();
    // A toolbar button: the frame's own commands here, the others on the
    // active sheet.
    void run_button(Command id);
    void show_menus_of(QMdiSubWindow *window);
    // Sheet commands are enabled when there is an active sheet to take them.
    void update_actions();
    void sheet_closed(SheetWindow *sheet);
    // Main caption: the number of open sheets, written with a leading space.
    void show_sheet_count();
    // Places a new sheet window in the frame's area (or in a given area).
    void place_new(QMdiSubWindow *sub);
    void place_new(QMdiSubWindow *sub, const QSize &area);
    void connect_sheet(SheetWindow *sheet);

    Prompter &prompter_;
    QMdiArea *mdi_;
    QToolBar *toolbar_;
    QTimer *startup_timer_;
    QHash<Command, QAction *> buttons_;
    // Each sheet window's frame shows it: read from the style once.
    QIcon sheet_icon_;
    QList<SheetWindow *> load_order_;
    QSettings *settings_ = nullptr;
    CountDialog *count_dialog_ = nullptr;
    PreviewWindow *preview_window_ = nullptr;
    std::unique_ptr<PrinterSettings> printer_settings_;
    PrintSettingsWindow *print_settings_window_ = nullptr;
    HelpViewer *help_viewer_ = nullptr;
    RecoveryKeeper *recovery_ = nullptr;
    bool closing_ = false;
    bool shown_before_ = false;
};
