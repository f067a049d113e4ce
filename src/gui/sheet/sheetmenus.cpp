#include "sheet/sheetmenus.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

struct Item {
    const char16_t *name;
    const char16_t *under;  // empty: the menu bar; "-": a menu of its own (context menu)
    const char16_t *caption;
    bool submenu;
};

// Order matters: it is the order of the items in their menus.
const Item kItems[] = {
    {u"menu_file", u"", u"ﾌｧｲﾙ(&F)", true},
    {u"sheet_read", u"menu_file", u"シート読込(&R)", false},
    {u"mnu_same_setup", u"menu_file", u"同じ設定で新規作成(&N)", false},
    {u"sheet_write", u"menu_file", u"シート保存(&W)", false},
    {u"sep100", u"menu_file", u"-", false},
    {u"mnu_close", u"menu_file", u"シートを閉じる(&C)", false},
    {u"sep003", u"menu_file", u"-", false},
    {u"mnu_psettei", u"menu_file", u"印刷設定(&U)", false},
    {u"mnu_preview", u"menu_file", u"印刷ﾌﾟﾚﾋﾞｭｰ(&V)", false},
    {u"mnu_print", u"menu_file", u"指定範囲印刷(&p)", false},
    {u"sep999", u"menu_file", u"-", false},
    {u"prg_end", u"menu_file", u"ﾌﾟﾛｸﾞﾗﾑを終わらせる(&E)", false},
    {u"mnu_edit", u"", u"編集(&E)", true},
    {u"mnu_undo", u"mnu_edit", u"元に戻す(&U)", false},
    {u"mnu_redo", u"mnu_edit", u"やり直し(&R)", false},
    {u"sep_undo", u"mnu_edit", u"-", false},
    {u"mnu_cut", u"mnu_edit", u"切り取り(&T)", false},
    {u"mnu_copy", u"mnu_edit", u"コピー(&C)", false},
    {u"mnu_past", u"mnu_edit", u"貼り付け(&P)", false},
    {u"sep_09", u"mnu_edit", u"-", false},
    {u"mnu_all_e", u"mnu_edit", u"全てを指定(&A)", false},
    {u"sep_fold", u"mnu_edit", u"-", false},
    {u"mnu_fold", u"mnu_edit", u"全角数字を半角に(&Z)", false},
    {u"menu_hyouji", u"", u"表示(&V)", true},
    {u"menu_retu", u"menu_hyouji", u"列表示(&R)", true},
    {u"menu_insert", u"menu_retu", u"挿入(&I)", false},
    {u"menu_sakujo", u"menu_retu", u"削除(&D)", false},
    {u"sep001", u"menu_retu", u"-", false},
    {u"menu_gyou", u"menu_hyouji", u"行表示(&G)", true},
    {u"insert_g", u"menu_gyou", u"挿入(&I)", false},
    {u"dele_g", u"menu_gyou", u"削除(&D)", false},
    {u"mnu_culc", u"", u"評価計算(&H)", true},
    {u"mnu_hyouka_go", u"mnu_culc", u"評価計算実行(&G)", false},
    {u"mnu_report", u"mnu_culc", u"成績一覧表(&L)…", false},
    {u"mnu_window", u"", u"ウインドウ(&W)", true},
    {u"mnu_jouge", u"mnu_window", u"上下に並べて表示(&H)", false},
    {u"mnu_sayuu", u"mnu_window", u"左右に並べて表示(&V)", false},
    {u"mnu_kasane", u"mnu_window", u"重ねて表示(&C)", false},
    {u"edit_2", u"-", u"編集２", true},
    {u"edit2_copy", u"edit_2", u"コピー", false},
    {u"menu_cut2", u"edit_2", u"切り取り", false},
    {u"mnu_paste2", u"edit_2", u"貼り付け", false},
    {u"sep9", u"edit_2", u"-", false},
    {u"mnu_cansel2", u"edit_2", u"ｷｬﾝｾﾙ", false},
    {u"mnu_help_0", u"", u"ヘルプ(&H)", true},
    {u"mnu_help", u"mnu_help_0", u"ヘルプの表示(&H)", false},
    {u"about_prg", u"mnu_help_0", u"「ぽん採点」について", false},
};

}  // namespace

SheetMenus::SheetMenus(QWidget *owner) : QObject(owner)
{
    for (const Item &item : kItems) {
        const QString name = QString::fromUtf16(item.name);
        const QString under = QString::fromUtf16(item.under);
        const QString caption = QString::fromUtf16(item.caption);
        QMenu *parent_menu = menus_.value(under);
        if (item.submenu) {
            auto *menu = new QMenu(caption, parent_menu ? static_cast<QWidget *>(parent_menu) : owner);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            menus_.insert(name, menu);
            actions_.insert(name, menu->menuAction());
            if (parent_menu)
                parent_menu->addMenu(menu);
            else if (under.isEmpty())
                bar_menus_.append(menu);
            continue;
        }
        QAction *action = caption == u"-"_s ? parent_menu->addSeparator()
                                            : parent_menu->addAction(caption);
        action->setObjectName(name);
        actions_.insert(name, action);
    }
}
