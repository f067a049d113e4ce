// The evaluation side of a sheet window: the raw-score panel and the
// evaluation command with its panel.
#include "sheetwindow.h"

#include "evaluationpanel.h"
#include "mainwindow.h"
#include "prompter.h"
#include "scorepanel.h"
#include "scoring.h"
#include "sheet.h"
#include "sheetgrid.h"
#include "sheetmenus.h"
#include "twips.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QToolBar>

using namespace Qt::StringLiterals;

int SheetWindow::selected_candidate() const
{
    return frame6_->selected_entry();
}

void SheetWindow::refresh_score_panel()
{
    frame4_->refresh();
}

void SheetWindow::hyouka_command()
{
    const scoring::TotalStatistics stats = scoring::calc_sougouten(*sheet_);
    frame6_->show_statistics(stats);
    frame4_->refresh_full_marks();

    // The focus would be lost while the window is disabled; give it back.
    QPointer<QWidget> focused = QApplication::focusWidget();
    if (focused && !isAncestorOf(focused))
        focused = nullptr;
    QToolBar *toolbar = main_->toolbar();
    toolbar->setEnabled(false);
    setEnabled(false);

    frame6_->hyouka_save.save(*sheet_);
    frame6_->mk_kouho();

    // A panel partly outside the client area comes back to the top, and
    // horizontally as little as needed to lie inside.
    const QRect panel = frame6_->geometry();
    if (panel.bottom() >= height() || panel.top() < 0 || panel.right() >= width() || panel.left() < 0) {
        const int left = qBound(0, panel.left(), qMax(0, width() - panel.width()));
        frame6_->move(left, 0);
    }

    unsetCursor();
    main_->unsetCursor();
    grid_->set_pointer(SheetGrid::Pointer::Default);

    setEnabled(true);
    // Disabling the window let the frame activate another sheet; take it back.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        main_->mdi_area()->setActiveSubWindow(sub);
    frame6_->show();
    frame6_->raise();
    toolbar->setEnabled(true);
    if (focused)
        focused->setFocus();
}

void SheetWindow::connect_evaluation()
{
    // The count grids are sized by the window's font as it is now, before the
    // sheet's own font size is set.
    frame6_->attach(sheet_, twips::unit_width(font()));
    frame4_->attach(sheet_);

    connect(menus_->action(u"mnu_hyouka_go"_s), &QAction::triggered, this, [this] { hyouka_command(); });
    connect(frame4_->evaluate_button(), &QPushButton::clicked, this, [this] { hyouka_command(); });
    // The criteria labels follow the sheet's texts: a file read ends with the
    // cursor put back at (1, 1).
    connect(sheet_, &Sheet::current_cell_changed, frame6_, &EvaluationPanel::refresh_criteria);

    connect(frame6_, &EvaluationPanel::close_requested, this, [this] {
        const Prompter::Answer answer = main_->prompter().ask(
            this,
            u"現在表示されているの評価の値を決定しますか。する場合は[はい]、破棄する場合は[いいえ]、評価計算を継続する場合は[キャンセル]をクリックしてください。"_s,
            Prompter::Buttons::YesNoCancel, u"確認"_s);
        if (answer == Prompter::Answer::Cancel)
            return;
        if (answer == Prompter::Answer::No)
            frame6_->hyouka_save.restore(*sheet_);
        frame6_->hide();
    });
}
