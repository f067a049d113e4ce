#include "sheetwindow.h"

#include "evaluationpanel.h"
#include "fonts.h"
#include "geometry.h"
#include "mainwindow.h"
#include "numbers.h"
#include "prompter.h"
#include "scorepanel.h"
#include "sheet.h"
#include "sheetgrid.h"
#include "sheetmenus.h"
#include "twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>

using namespace Qt::StringLiterals;


SheetWindow::SheetWindow(MainWindow *main, int number, bool first, QWidget *parent)
    : QWidget(parent), main_(main), number_(number)
{
    setObjectName(u"Form1"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(pal);

    sheet_ = new Sheet(this);
    grid_ = new SheetGrid(sheet_, this);
    // Created after the grid and before the panels: above the one, below the others.
    text1_ = new QLineEdit(this);
    text1_->setObjectName(u"Text1"_s);
    text1_->setFrame(false);
    text1_->setStyleSheet(u"QLineEdit { background: rgb(255, 255, 192); border: none; padding: 0px; }"_s);
    connect(text1_, &QLineEdit::textChanged, this, &SheetWindow::Text1_Change);
    connect(sheet_, &Sheet::current_cell_changed, this, &SheetWindow::grdhyouka_RowColChange);

    build_panels();
    build_menus();
    connect_editing();
    connect_evaluation();
    build_sheet(first);
}

QLabel *SheetWindow::heading(QWidget *parent, const QString &text, double top)
{
    auto *label = new QLabel(text, parent);
    geometry::place(label, 45, top, 1245, 260);
    return label;
}

namespace {

// A label placed in twips; a named one shows a value right-aligned.
QLabel *panel_label(QWidget *parent, const QString &text, double left, double top, double width,
                    double height, const QString &name = QString())
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty()) {
        label->setObjectName(name);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    geometry::place(label, left, top, width, height);
    return label;
}

QScrollBar *spinner(QWidget *parent, const QString &name, int lowest, int highest, int position,
                    double top, double height)
{
    auto *bar = new QScrollBar(Qt::Vertical, parent);
    bar->setObjectName(name);
    bar->setRange(lowest, highest);
    bar->setValue(position);
    geometry::place(bar, 1035, top, 240, height);
    return bar;
}

}  // namespace

void SheetWindow::build_panels()
{
    // Frame1: character size and input position.
    frame1_ = new QFrame(this);
    frame1_->setObjectName(u"Frame1"_s);
    geometry::place(frame1_, 0, 0, 1335, 1695);
    heading_size_ = heading(frame1_, u"◇文字ｻｲｽﾞ"_s, 30);
    label3_ = panel_label(frame1_, u"12"_s, 90, 330, 360, 300, u"Label3"_s);
    panel_label(frame1_, u"ﾎﾟｲﾝﾄ"_s, 480, 330, 540, 300);
    vscroll1_ = spinner(frame1_, u"VScroll1"_s, 6, 30, 18, 300, 420);  // size = 30 - position

    heading_position_ = heading(frame1_, u"◇入力場所"_s, 840);
    label5_ = panel_label(frame1_, u"1"_s, 90, 1110, 600, 270, u"Label5"_s);
    panel_label(frame1_, u"行"_s, 750, 1110, 400, 270);
    label6_ = panel_label(frame1_, u"1"_s, 90, 1380, 600, 270, u"Label6"_s);
    panel_label(frame1_, u"列"_s, 750, 1380, 400, 270);

    // Frame2: fixed-length entry; n = 5 - position, so the up arrow raises it.
    frame2_ = new QFrame(this);
    frame2_->setObjectName(u"Frame2"_s);
    frame2_->setToolTip(u"入力文字数が指定に達すると自動改行。"_s);
    geometry::place(frame2_, 0, 1695, 1335, 855);
    heading_fixed_ = heading(frame2_, u"◇固定長"_s, 30);
    label7_ = panel_label(frame2_, u"なし"_s, 90, 360, 600, 300, u"Label7"_s);
    vscroll2_ = spinner(frame2_, u"VScroll2"_s, 0, 5, 5, 300, 450);

    // Frame3: a thin separating bar.
    frame3_ = new QFrame(this);
    frame3_->setObjectName(u"Frame3"_s);
    frame3_->setFrameShape(QFrame::HLine);
    frame3_->setFrameShadow(QFrame::Sunken);
    geometry::place(frame3_, 0, 2550, 1335, 15);

    frame4_ = new ScorePanel(this);
    frame6_ = new EvaluationPanel(this);

    // Too narrow a window would hide the grid behind the side panels.
    setMinimumSize(frame1_->width() + 150, 200);
}

void SheetWindow::build_menus()
{
    menus_ = new SheetMenus(this);
    // Items whose operations are not there yet stay disabled.
    const QStringList waiting = {
        u"mnu_psettei"_s, u"mnu_preview"_s, u"mnu_print"_s,
        u"mnu_cut"_s,     u"mnu_copy"_s,    u"mnu_past"_s,    u"mnu_all_e"_s,   u"menu_insert"_s,
        u"menu_sakujo"_s, u"insert_g"_s,    u"dele_g"_s,      u"edit2_copy"_s,
        u"menu_cut2"_s,   u"mnu_paste2"_s,  u"mnu_help"_s,
    };
    for (const QString &name : waiting)
        menus_->action(name)->setEnabled(false);

    auto on = [this](const QString &name, auto slot) {
        connect(menus_->action(name), &QAction::triggered, this, slot);
    };
    on(u"sheet_read"_s, [this] { read_sheet(); });
    on(u"sheet_write"_s, [this] { file_menu_save(); });
    on(u"mnu_close"_s, [this] { close_command(); });
    on(u"prg_end"_s, [this] { main_->end_program(); });
    on(u"mnu_jouge"_s, [this] { main_->arrange(1); });
    on(u"mnu_sayuu"_s, [this] { main_->arrange(2); });
    on(u"mnu_kasane"_s, [this] { main_->arrange(0); });
    on(u"about_prg"_s, [this] { main_->show_about(); });
}

void SheetWindow::build_sheet(bool first)
{
    const double size = numbers::leading_number(label3_->text());
    setFont(fonts::sheet_font(size));
    // Panels keep the ordinary dialog font.
    for (QWidget *panel : {static_cast<QWidget *>(frame1_), static_cast<QWidget *>(frame2_),
                           static_cast<QWidget *>(frame3_), static_cast<QWidget *>(frame4_),
                           static_cast<QWidget *>(frame6_)})
        panel->setFont(fonts::panel_font());
    sheet_->build_new(twips::unit_width(font()));
    text1_->setFont(fonts::editor_font(size));
    grid_->setFont(fonts::sheet_font(size));
    menus_->action(u"mnu_culc"_s)->setEnabled(true);
    frame4_->show();
    frame4_->title_box()->clear();
    setWindowTitle(first ? u"評価計算(1)"_s : u"評価計算( "_s + QString::number(number_) + u')');
    main_->change_sheet_count(+1);
    auto_text_flg = true;
    text1_->clear();
    text1_->setEnabled(true);
    text1_->show();
}

void SheetWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    lay_out();
}

void SheetWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        lay_out();
}

void SheetWindow::lay_out()
{
    const double w = geometry::width(this);
    const double w1 = geometry::width(frame1_);
    geometry::move(frame6_, w - 1.5 * w1 - geometry::width(frame6_), geometry::top(frame6_));
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (sub && sub->isMinimized())
        return;
    geometry::move(grid_, 0, 0);
    if (main_->isMinimized())
        return;
    geometry::move(frame1_, w - w1, 0);
    grid_->setGeometry(0, 0, qMax(0, frame1_->x()), height());
    double top = geometry::top(frame1_) + geometry::height(frame1_);
    for (QWidget *panel : {static_cast<QWidget *>(frame2_), static_cast<QWidget *>(frame3_),
                           static_cast<QWidget *>(frame4_)}) {
        geometry::move(panel, geometry::left(frame1_), top);
        panel->resize(frame1_->width(), panel->height());
        top += geometry::height(panel);
    }
    heading_position_->resize(heading_fixed_->width(), heading_position_->height());
    heading_size_->resize(heading_fixed_->width(), heading_size_->height());
    fit_editor();
    layout_flg = true;
}





void SheetWindow::activated()
{
    grid_->set_pointer(SheetGrid::Pointer::Default);
    unsetCursor();
}

void SheetWindow::close_command()
{
    if (sheet_->content_flg() &&
        main_->prompter().ask(this, windowTitle() + u" を保存しますか？"_s, Prompter::Buttons::YesNo,
                              u"確認"_s) == Prompter::Answer::Yes)
        save_sheet();
    close_window();
}

bool SheetWindow::close_window()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return sub->close();
    return close();
}

void SheetWindow::closeEvent(QCloseEvent *event)
{
    if (closed_) {
        event->accept();
        return;
    }
    setCursor(Qt::WaitCursor);
    grid_->set_pointer(SheetGrid::Pointer::Wait);
    Prompter::Answer answer = Prompter::Answer::No;
    const QString remembered_name = sheet_->sheet_name();
    if (sheet_->content_flg() && !no_prompt_flg && !sheet_->saved_flg()) {
        answer = main_->prompter().ask(
            this,
            windowTitle() + u" を閉じます。\r\nワークシート["_s + sheet_->sheet_name() +
                u"]を保存しますか？"_s,
            Prompter::Buttons::YesNoCancel);
    }
    bool closing = false;
    switch (answer) {
    case Prompter::Answer::Yes:
        QMetaObject::invokeMethod(this, "save_sheet");
        if (save_cancel_flg)
            save_cancel_flg = false;
        else
            closing = true;
        break;
    case Prompter::Answer::Cancel:
        no_prompt_flg = false;
        unsetCursor();
        grid_->set_pointer(SheetGrid::Pointer::Default);
        event->ignore();
        return;
    default:
        closing = true;
        break;
    }
    unsetCursor();
    grid_->set_pointer(SheetGrid::Pointer::Default);
    if (!closing)
        sheet_->set_sheet_name(remembered_name);
    no_prompt_flg = false;
    if (!closing) {
        event->ignore();
        return;
    }
    closed_ = true;
    main_->change_sheet_count(-1);
    main_->sheet_closed(this);
    event->accept();
}
