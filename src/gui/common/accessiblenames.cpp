#include "common/accessiblenames.h"

#include "common/objectnames.h"

#include <QWidget>

using namespace Qt::StringLiterals;

namespace accessible_names {

namespace {

struct Entry {
    QLatin1StringView window;
    QLatin1StringView control;
    QStringView name;
    // Empty: the control's tip, when it has one, describes it.
    QStringView description = {};
};

using namespace object_name;

const Entry kEntries[] = {
    // A sheet window. The cell editor is named by its cell's place as the
    // cursor moves, and described by why that cell needs a look.
    {sheet_window, sheet_grid, u"シート",
     u"生徒ごとの点数の表です。矢印キーでセルを移動します。"},
    {sheet_window, cell_editor, u"セル"},
    {sheet_window, input_panels, u"入力の設定"},
    {sheet_window, size_position_panel, u"文字ｻｲｽﾞと入力場所"},
    {sheet_window, fixed_length_panel, u"固定長"},
    {sheet_window, score_panel, u"素点情報"},
    {sheet_window, evaluation_panel, u"評価選択パネル"},
    {sheet_window, enter_button, u"Enter", u"次のセルへ移ります。"},
    {sheet_window, character_size_scroll, u"文字ｻｲｽﾞ",
     u"シートの文字の大きさ（ポイント）です。↑↓で変えます。"},
    {sheet_window, fixed_length_scroll, u"固定長",
     u"入力文字数が指定に達すると自動改行。↑↓で文字数を変えます。"},
    {sheet_window, title_box, u"素点情報の見出し", u"今の素点の列の見出しです。"},
    {sheet_window, full_marks_box, u"最高",
     u"今の素点の列の満点です。「不明」のときは列の最高点を満点とします。"},
    {sheet_window, weight_box, u"重み", u"今の素点の列が総合点に占める重みです。"},
    {sheet_window, evaluate_button, u"評価計算",
     u"総合点を計算して、評価選択パネルを開きます。"},
    {sheet_window, close_button, u"評価選択パネルを閉じる"},
    {sheet_window, lower_criterion_label, u"２の上限点数"},
    {sheet_window, lower_criterion_scroll, u"２の上限点数の矢印",
     u"↑↓で 1 点、PageUp / PageDown で 5 点動きます。"},
    {sheet_window, upper_criterion_label, u"10の下限点数"},
    {sheet_window, upper_criterion_scroll, u"10の下限点数の矢印",
     u"↑↓で 1 点、PageUp / PageDown で 5 点動きます。"},
    {sheet_window, candidate_list, u"評価平均の候補",
     u"↑↓で候補を選ぶと、表の評価がその候補になります。"},
    {sheet_window, totals_grid, u"総合点の度数"},
    {sheet_window, grades_grid, u"評価/評定の度数"},
    {main_window, sheet_area, u"シートの並ぶ場所"},
    // The count dialog, print settings, help viewer and report.
    {count_dialog, count_box, u"個数"},
    {print_settings_window, paper_list, u"用紙"},
    {help_viewer, help_search_box, u"ヘルプ内を検索"},
    {help_viewer, help_address_box, u"ｱﾄﾞﾚｽ"},
    {help_viewer, help_page, u"ヘルプのページ"},
    {report_window, report_sources, u"一覧にするシート"},
    {report_window, report_page, u"成績一覧表"},
};

}  // namespace

void name_controls(QWidget *window)
{
    Q_ASSERT(window);
    for (const Entry &entry : kEntries) {
        if (entry.window != window->objectName())
            continue;
        for (QWidget *control : window->findChildren<QWidget *>(entry.control)) {
            if (control->accessibleName().isEmpty())
                control->setAccessibleName(entry.name.toString());
            if (!entry.description.isEmpty())
                control->setAccessibleDescription(entry.description.toString());
        }
    }
}

}  // namespace accessible_names
