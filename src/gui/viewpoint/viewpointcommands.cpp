#include "viewpoint/viewpointcommands.h"

#include "common/prompter.h"
#include "history.h"
#include "sheet.h"
#include "viewpoint/viewpointpanel.h"
#include "viewpoints.h"

#include <QClipboard>
#include <algorithm>
#include <QGuiApplication>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>
#include <utility>

using namespace Qt::StringLiterals;

ViewpointCommands::ViewpointCommands(QWidget *window, Sheet *sheet,
                                     std::function<ViewpointPanel *()> make_panel,
                                     Prompter &prompter)
    : QObject(window), window_(window), sheet_(sheet), make_panel_(std::move(make_panel)),
      prompter_(prompter)
{
    Q_ASSERT(make_panel_);
    // Once per burst of changes: a paste or a file read is one recheck.
    auto *later = new QTimer(this);
    later->setSingleShot(true);
    connect(later, &QTimer::timeout, this, &ViewpointCommands::recheck);
    auto changed = [later] { later->start(0); };
    connect(sheet_, &Sheet::cell_changed, this, changed);
    connect(sheet_, &Sheet::settings_changed, this, changed);
    connect(sheet_, &Sheet::shape_changed, this, changed);
    connect(sheet_, &Sheet::document_changed, this, changed);
}

ViewpointPanel *ViewpointCommands::panel()
{
    if (!panel_) {
        panel_ = make_panel_();
        Q_ASSERT(panel_);
        panel_->attach(sheet_);
        connect(panel_, &ViewpointPanel::decide_requested, this, &ViewpointCommands::decide);
        connect(panel_, &ViewpointPanel::abort_requested, this, &ViewpointCommands::abort);
    }
    return panel_;
}

void ViewpointCommands::recheck()
{
    const bool had = !checks_.isEmpty();
    checks_.clear();
    if (sheet_->result_count() > 0) {
        const viewpoints::Result result = viewpoints::compute(*sheet_);
        for (const viewpoints::Student &student : result.students)
            checks_.append(student.checks);
    }
    if (had || !checks_.isEmpty())
        emit checks_changed();
}

QString ViewpointCommands::result_note(int row, int col) const
{
    const int grade_col = sheet_->first_result_col() + sheet_->result_count() - 1;
    if (col != grade_col || row < 1 || row > checks_.size())
        return {};
    return checks_[row - 1].join(u'\n');
}

int ViewpointCommands::check_count() const
{
    return int(std::count_if(checks_.begin(), checks_.end(), [](const QStringList &c) { return !c.isEmpty(); }));
}

void ViewpointCommands::open_panel()
{
    // Without a column of a viewpoint every letter would be 「－」: say what
    // to do instead of showing an empty table.
    const QList<int> columns = viewpoints::column_viewpoints(*sheet_);
    if (std::all_of(columns.begin(), columns.end(), [](int v) { return v == 0; }) &&
        sheet_->result_count() == 0) {
        prompter_.message(window_, u"観点が決まっている列がありません。\n"
                                   u"素点情報の［観点］で、各列の点数がどの観点に入るかを選んでください。"_s);
        return;
    }
    ViewpointPanel *shown = panel();
    shown->start();
    shown->show();
    shown->raise();
    shown->results()->setFocus();
}

void ViewpointCommands::decide()
{
    Q_ASSERT(history_);
    history_->name_step(u"観点別評価"_s);
    history_->hold();
    viewpoints::write_results(*sheet_, panel_->result());
    history_->release();
    panel_->hide();
    emit decided();
    emit closed();
}

void ViewpointCommands::abort()
{
    panel_->hide();
    emit closed();
}

void ViewpointCommands::copy_results()
{
    const QString text = viewpoints::clipboard_text(*sheet_);
    if (text.isEmpty()) {
        prompter_.message(window_, u"観点別評価の結果がまだありません。\n"
                                   u"［観点別評価］で結果を確かめて［決定］すると、コピーできます。"_s);
        return;
    }
    QGuiApplication::clipboard()->setText(text);
}
