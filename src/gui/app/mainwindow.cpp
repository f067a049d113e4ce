#include "app/mainwindow.h"

#include "app/recoverykeeper.h"
#include "app/sheetarea.h"
#include "common/accessiblenames.h"
#include "common/objectnames.h"
#include "common/prompter.h"
#include "common/twips.h"
#include "help/helpviewer.h"
#include "numbers.h"
#include "sheet.h"
#include "sheet/filecommands.h"
#include "sheet/sheetmenus.h"
#include "sheet/sheetwindow.h"
#include "print/previewwindow.h"
#include "print/printersettings.h"
#include "print/printsettingswindow.h"
#include "report/reportwindow.h"
#include "structure/countdialog.h"
#include "systemerror.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QScreen>
#include <QShortcut>
#include <QShortcutEvent>
#include <QStyle>
#include <QPointer>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

const QString kCountSuffix = u"枚のｼｰﾄがあります。"_s;
const QString kPlaceKey = u"frame/geometry"_s;

}  // namespace

MainWindow::MainWindow(Prompter &prompter, QWidget *parent)
    : QMainWindow(parent), prompter_(prompter), printer_settings_(std::make_unique<PrinterSettings>())
{
    setObjectName(object_name::main_window);
    mdi_ = new SheetArea(this);
    mdi_->setObjectName(object_name::sheet_area);
    mdi_->setBackground(QColor(128, 128, 128));
    // A sheet larger than a small frame can still be scrolled to its side panels.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    build_toolbar();
    menuBar()->setNativeMenuBar(false);
    menuBar()->installEventFilter(this);

    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::show_menus_of);
    // Ctrl+Tab belongs to the cell editor; the sheets are switched here.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6), this), &QShortcut::activated, mdi_,
            &QMdiArea::activateNextSubWindow);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), this),
            &QShortcut::activated, mdi_, &QMdiArea::activatePreviousSubWindow);

    // The inner area at start; the frame decides where the window goes.
    resize(twips::to_px(12180), twips::to_px(9210) + toolbar_->sizeHint().height() +
                                     menuBar()->sizeHint().height());

    accessible_names::name_controls(this);
    create_sheet();
    setWindowTitle(u"1"_s + kCountSuffix);
    toolbar_->setEnabled(false);

    // The toolbar comes alive once the window runs.
    startup_timer_ = new QTimer(this);
    startup_timer_->setObjectName(object_name::startup_timer);
    startup_timer_->setInterval(1);
    startup_timer_->setSingleShot(true);
    connect(startup_timer_, &QTimer::timeout, this, [this] { toolbar_->setEnabled(true); });
    startup_timer_->start();
}

MainWindow::~MainWindow()
{
    // The frame activates other sheets while it takes them down; this window
    // is no longer there to hear it.
    disconnect(mdi_, nullptr, this, nullptr);
    // Sheet windows ask their host about layout while they go: take them down
    // while it is still whole.
    delete mdi_;
}

void MainWindow::build_toolbar()
{
    toolbar_ = addToolBar(u"Toolbar1"_s);
    toolbar_->setObjectName(u"Toolbar1"_s);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(20, 20));
    // The buttons show the program's own pictures, those of the help pages,
    // whatever icon theme the desktop has: a theme's pictures look disabled
    // or mean something else (カット as a red stop sign).
    // Not desktop-aware for a moment, the style draws its own.
    const bool desktop_aware = QGuiApplication::desktopSettingsAware();
    QGuiApplication::setDesktopSettingsAware(false);
    for (const Command id : commands::toolbar()) {
        const CommandInfo::Button &button = commands::info(id).button;
        QAction *action =
            toolbar_->addAction(style()->standardIcon(button.icon), button.label.toString());
        action->setObjectName(button.name);
        // Buttons act on the active sheet and leave the focus where it is.
        toolbar_->widgetForAction(action)->setFocusPolicy(Qt::NoFocus);
        action->setToolTip(button.tip.toString());
        // A button without a tip shows none, not its caption again.
        if (button.tip.isEmpty())
            toolbar_->widgetForAction(action)->installEventFilter(this);
        connect(action, &QAction::triggered, this, [this, id] { run_button(id); });
        buttons_.insert(id, action);
    }
    QGuiApplication::setDesktopSettingsAware(desktop_aware);
    // The buttons that are no menu's item have keys of their own, so that
    // every button can be reached without the mouse.
    buttons_.value(Command::NewSheet)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    buttons_.value(Command::ReadInNewSheet)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
}

void MainWindow::run_button(Command id)
{
    if (id == Command::NewSheet) {
        create_sheet();
    } else if (id == Command::ReadInNewSheet) {
        // Read into the new sheet, or into the active one when no new one
        // could be made.
        create_sheet();
        if (SheetWindow *sheet = active_sheet())
            sheet->run(Command::ReadSheet);
    } else if (SheetWindow *sheet = active_sheet()) {
        sheet->run(id);
    }
}

SheetWindow *MainWindow::create_sheet()
{
    bool taken[kMaxSheets + 1] = {};
    int count = 0;
    for (SheetWindow *sheet : sheets()) {
        const int number = sheet->number();
        if (number >= 1 && number <= kMaxSheets)
            taken[number] = true;
        ++count;
    }
    int free_number = 0;
    for (int k = 1; k <= kMaxSheets; ++k) {
        if (!taken[k]) {
            free_number = k;
            break;
        }
    }
    if (free_number == 0) {
        prompter_.message(this, u"これ以上新しいシートの作成はできません。"_s);
        return nullptr;
    }

    const QMdiSubWindow *current = mdi_->currentSubWindow();
    const bool maximized = current && current->isMaximized();
    auto *sheet = new SheetWindow(*this, count == 0 ? 1 : free_number, count == 0);
    connect_sheet(sheet);
    if (recovery_)
        recovery_->watch(sheet);
    QMdiSubWindow *sub = mdi_->addSubWindow(sheet);
    // The frame around a sheet window keeps it whole: no resize, restore or
    // arrangement makes it smaller than its panels.
    sub->setMinimumSize(sub->minimumSizeHint());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (sheet_icon_.isNull())
        sheet_icon_ = style()->standardIcon(QStyle::SP_FileIcon);
    sub->setWindowIcon(sheet_icon_);
    load_order_.append(sheet);
    show_sheet_count();
    // Among maximized sheets it opens maximized and is not placed by hand:
    // a window given a place before it is maximized shows without its frame,
    // off its place.
    if (maximized) {
        sheet->show();
        sub->showMaximized();
    } else {
        place_new(sub);
        sheet->show();
    }
    mdi_->setActiveSubWindow(sub);
    // Activating it showed its menus, unless it was active already: a
    // second time would only build the bar again.
    if (menuBar()->actions().value(0) != sheet->menus()->bar_menus().constFirst()->menuAction())
        show_menus_of(sub);
    update_actions();
    return sheet;
}

// A comfortable size inside the frame, each new window a step down and right
// of the last, as cascading does, starting over at the corner when the next
// step would leave the frame.
void MainWindow::place_new(QMdiSubWindow *sub)
{
    QSize area = mdi_->viewport()->size();
    if (!isVisible())  // not laid out yet: the inner area it starts with
        area = QSize(twips::to_px(12180), twips::to_px(9210));
    place_new(sub, area);
}

void MainWindow::place_new(QMdiSubWindow *sub, const QSize &area)
{
    const QSize size(qMax(area.width() * 9 / 10, 640), qMax(area.height() * 9 / 10, 520));
    sub->resize(size);
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub) + 4;
    const int steps_x = qMax(1, (area.width() - size.width()) / step + 1);
    const int steps_y = qMax(1, (area.height() - size.height()) / step + 1);
    const int k = int(load_order_.size() - 1) % qMax(1, qMin(steps_x, steps_y));
    sub->move(k * step, k * step);
}

void MainWindow::create_sheet_and_load()
{
    if (SheetWindow *sheet = create_sheet())
        sheet->run(Command::ReadSheet);
}

SheetWindow *MainWindow::empty_start_sheet() const
{
    if (load_order_.size() == 1 && !load_order_.first()->sheet()->has_content())
        return load_order_.first();
    return nullptr;
}

void MainWindow::open_files(const QStringList &paths)
{
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString &path = paths[i];
        SheetWindow *sheet = i == 0 ? empty_start_sheet() : nullptr;
        if (!sheet)
            sheet = create_sheet();
        if (!sheet)
            return;  // twenty sheets: the teacher was told
        sheet->file_commands()->read_path(path);
    }
}

void MainWindow::open_sample(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompter_.message(this, path + u" を読み込めませんでした。\r\n"_s +
                                    systemerror::in_japanese(file.errorString()));
        return;
    }
    // A copy without a name: saving asks where, and the installed sample
    // stays as it is for the next teacher.
    const QByteArray bytes = file.readAll();
    SheetWindow *sheet = empty_start_sheet();
    if (!sheet)
        sheet = create_sheet();
    if (sheet)
        sheet->file_commands()->restore(bytes, QString());
    activateWindow();
}

void MainWindow::connect_sheet(SheetWindow *sheet)
{
    connect(sheet, &SheetWindow::closed, this, &MainWindow::sheet_closed);
    connect(sheet, &SheetWindow::load_in_new_sheet_requested, this,
            &MainWindow::create_sheet_and_load);
    connect(sheet, &SheetWindow::report_requested, this, &MainWindow::show_report);
    connect(sheet, &SheetWindow::same_setup_requested, this, [this, sheet] {
        if (SheetWindow *fresh = create_sheet())
            fresh->take_setup(*sheet->sheet());
    });
    connect(sheet, &SheetWindow::end_program_requested, this, &MainWindow::end_program);
    connect(sheet, &SheetWindow::arrange_requested, this, &MainWindow::arrange);
    connect(sheet, &SheetWindow::about_requested, this, &MainWindow::show_about);
    connect(sheet, &SheetWindow::help_requested, this,
            [this, sheet] { help_viewer().open_help(sheet->sheet()->start_dir(), size()); });
    connect(sheet, &SheetWindow::print_settings_requested, this, &MainWindow::show_print_settings);
    connect(sheet, &SheetWindow::busy, this, [this](bool on) {
        toolbar_->setEnabled(!on);
        if (!on)
            unsetCursor();
    });
}

QList<SheetWindow *> MainWindow::sheets() const
{
    return load_order_;
}

void MainWindow::sheet_closed(SheetWindow *sheet)
{
    load_order_.removeOne(sheet);
    show_sheet_count();
    if (load_order_.isEmpty())
        menuBar()->clear();
    update_actions();
}

CountDialog &MainWindow::count_dialog()
{
    // Made on first use, then only shown and hidden.
    if (!count_dialog_)
        count_dialog_ = new CountDialog(prompter_, this);
    return *count_dialog_;
}

ReportWindow *MainWindow::show_report()
{
    // What each open sheet shows now: its caption names the file, if any.
    QList<gradereport::ClassResult> open;
    for (SheetWindow *window : sheets()) {
        const Sheet &sheet = *window->sheet();
        if (!sheet.has_evaluation_layout())
            continue;
        gradereport::ClassResult result = gradereport::of_sheet(window->windowTitle(), sheet);
        if (sheet.sheet_name() != Sheet::untitled_name())
            result.file = gradereport::real_path(sheet.sheet_name());
        open.append(result);
    }
    auto *report = new ReportWindow(prompter_, *printer_settings_, open, this);
    report->show();
    return report;
}

void MainWindow::show_print_settings()
{
    if (!print_settings_window_)
        print_settings_window_ = new PrintSettingsWindow(*printer_settings_, prompter_, this);
    print_settings_window_->open_settings();
}

HelpViewer &MainWindow::help_viewer()
{
    if (!help_viewer_) {
        help_viewer_ = new HelpViewer(prompter_, this);
        connect(help_viewer_, &HelpViewer::sample_requested, this, &MainWindow::open_sample);
    }
    return *help_viewer_;
}

PreviewWindow &MainWindow::preview_window()
{
    if (!preview_window_)
        preview_window_ = new PreviewWindow(this);
    return *preview_window_;
}

bool MainWindow::is_active(const SheetWindow *sheet) const
{
    return active_sheet() == sheet;
}

// Two windows on one file: the later save would silently undo the other's
// marks, so opening a file a second time is a choice, not an accident.
bool MainWindow::go_to_open_copy(const SheetWindow *asking, const QString &path)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    if (file.isEmpty())
        return false;
    for (SheetWindow *sheet : sheets()) {
        const QFileInfo name(sheet->sheet()->sheet_name());
        // A sheet never saved bears a bare name, which is no file.
        if (sheet == asking || name.isRelative() || name.canonicalFilePath() != file)
            continue;
        const QString question = path + u" は「"_s + sheet->windowTitle() +
                                 u"」で開いています。\r\nもう一つのシートとして開きますか？"_s;
        if (prompter_.ask(this, question, Prompter::Buttons::YesNo, u"確認"_s,
                          Prompter::Answer::No) == Prompter::Answer::Yes)
            return false;
        mdi_->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(sheet->parentWidget()));
        return true;
    }
    return false;
}

void MainWindow::update_actions()
{
    const CommandState state{.sheet_open = !load_order_.isEmpty()};
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it)
        it.value()->setEnabled(commands::is_enabled(it.key(), state));
}

SheetWindow *MainWindow::active_sheet() const
{
    // currentSubWindow stays set while the application is not active (tests).
    if (QMdiSubWindow *sub = mdi_->currentSubWindow())
        return qobject_cast<SheetWindow *>(sub->widget());
    return nullptr;
}

int MainWindow::sheet_count() const
{
    return int(load_order_.size());
}

void MainWindow::show_sheet_count()
{
    setWindowTitle(numbers::signed_form(sheet_count()) + kCountSuffix);
}

void MainWindow::toolbar_click(const QString &caption)
{
    for (QAction *action : toolbar_->actions()) {
        if (action->text() == caption) {
            action->trigger();
            return;
        }
    }
}

void MainWindow::show_menus_of(QMdiSubWindow *window)
{
    auto *sheet = window ? qobject_cast<SheetWindow *>(window->widget()) : nullptr;
    if (!sheet) {
        if (sheets().isEmpty())
            menuBar()->clear();
        return;
    }
    menuBar()->clear();
    for (QMenu *menu : sheet->menus()->bar_menus())
        menuBar()->addMenu(menu);
    sheet->activated();
    update_actions();
}

void MainWindow::arrange(int code)
{
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *w : mdi_->subWindowList())
        if (!w->isMinimized() && w->isVisible())
            shown.append(w);
    if (shown.isEmpty())
        return;
    const QSize area = mdi_->viewport()->size();
    const int n = int(shown.size());
    // Cascaded, each window a title bar below and right of the one before,
    // all of one size that keeps the last inside the frame; tiled, the area
    // shared out. No window gets smaller than a sheet window can be, so its
    // panels stay whole; windows then overlap.
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, shown.first()) + 4;
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *w = shown[i];
        w->showNormal();
        if (code == 1) {
            const int h = area.height() / n;
            w->setGeometry(0, i * h, area.width(), qMax(h, w->minimumSizeHint().height()));
        } else if (code == 2) {
            const int width = area.width() / n;
            w->setGeometry(i * width, 0, qMax(width, w->minimumSizeHint().width()), area.height());
        } else {
            const QSize size(area.width() - (n - 1) * step, area.height() - (n - 1) * step);
            w->setGeometry(QRect(QPoint(i * step, i * step), size.expandedTo(w->minimumSizeHint())));
            w->raise();
        }
    }
    if (code == 0)
        mdi_->setActiveSubWindow(shown.last());
    // A window taken out of its maximized state hands the focus to its first
    // box, which would catch the next keys meant for the cell.
    if (SheetWindow *sheet = active_sheet())
        sheet->give_keys_to_editor();
}

void MainWindow::show_about()
{
    const QString text =
        u"先生の成績処理を、もっと手早く、もっと確かに。\n"
        u"\n"
        u"評価計算ソフト「ぽん採点」\n"
        u"          Version 1.00\n"
        u"ぽん採点 開発チーム\n"
        u"------------------------------------------\n"
        u"ご 注 意\n"
        u"1. 本ソフトウェアの著作権は、ぽん採点 開発チームが保有します。\n"
        u"2. 本ソフトウェアおよびマニュアルを使用した結果については、一切の責任を負いません。\n"
        u"3. 本ソフトウェアの仕様は、予告なく変更することがあります。\n"
        u"\n"
        u"\n"_s;
    prompter_.message(this, text);
}

bool MainWindow::end_program()
{
    // The last loaded window closes first; a window that stays open (its
    // question cancelled) stops the exit so that nothing unsaved is lost.
    const QList<SheetWindow *> order = load_order_;
    for (auto it = order.crbegin(); it != order.crend(); ++it) {
        SheetWindow *sheet = *it;
        if (!load_order_.contains(sheet))
            continue;
        if (!sheet->close_window())
            return false;
    }
    closing_ = true;
    close();
    return true;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // 評価計算(&H) and ヘルプ(&H) share their key. Qt takes turns between menus
    // that share one, so a second Alt+H opened ヘルプ; the first in the bar
    // opens every time, as the teacher's earlier program did.
    if (watched == menuBar() && event->type() == QEvent::Shortcut) {
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->isAmbiguous()) {
            for (QAction *action : menuBar()->actions()) {
                if (QKeySequence::mnemonic(action->text()) == shortcut->key()) {
                    menuBar()->setActiveAction(action);
                    return true;
                }
            }
        }
    }
    if (event->type() == QEvent::ToolTip)
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The first sheet was made before the frame had its size. Shown
    // maximized, the frame will take the screen's free area, less its own
    // title bar, menu bar and toolbar: the sheet takes its share of that.
    if (!shown_before_ && isMaximized() && load_order_.size() == 1 && screen()) {
        auto *sub = qobject_cast<QMdiSubWindow *>(load_order_.first()->parentWidget());
        const int bars = style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                         menuBar()->sizeHint().height() + toolbar_->sizeHint().height();
        if (sub && !sub->isMaximized())
            place_new(sub, screen()->availableGeometry().size() - QSize(0, bars));
    }
    shown_before_ = true;
}

bool MainWindow::restore_place(QSettings *settings)
{
    settings_ = settings;
    // The paper is checked against the printer once the frame runs: the
    // printing system may take a while to name its printer, and nothing
    // prints before then.
    QTimer::singleShot(0, this, [this, kept = QPointer<QSettings>(settings)] {
        if (!kept)
            return;
        const QString paper_note = printer_settings_->remember_in(kept);
        if (!paper_note.isEmpty())
            prompter_.message(this, paper_note);
    });
    return restoreGeometry(settings->value(kPlaceKey).toByteArray());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (closing_ || sheets().isEmpty()) {
        if (settings_)
            settings_->setValue(kPlaceKey, saveGeometry());
        event->accept();
        return;
    }
    event->ignore();
    end_program();
}

void MainWindow::enable_recovery(const QString &folder)
{
    recovery_ = new RecoveryKeeper(*this, this, folder);
    for (SheetWindow *sheet : load_order_)
        recovery_->watch(sheet);
    QTimer::singleShot(0, recovery_, &RecoveryKeeper::offer);
}
