#pragma once

#include <QWidget>

class EvaluationPanel;
class MainWindow;
class Prompter;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class ScorePanel;
class Sheet;
class SheetGrid;
class SheetMenus;

// One sheet window: the grid, the in-place editor over the current cell, the
// side panels, the menus, and the operations other windows call by name.
class SheetWindow : public QWidget
{
    Q_OBJECT

public:
    SheetWindow(MainWindow *main, int number, bool first, QWidget *parent = nullptr);

    int number() const { return number_; }
    Sheet *sheet() const { return sheet_; }
    SheetGrid *grid() const { return grid_; }
    SheetMenus *menus() const { return menus_; }
    QLineEdit *editor() const { return text1_; }
    MainWindow *main_window() const { return main_; }

    // Asks the window to close through its closing logic; true when it closed.
    bool close_window();
    // "シートを閉じる": offers to save first, then closes.
    void close_command();
    // The window became the active sheet window.
    void activated();

    // Places the editor over the current cell; put_editor also loads its text.
    void fit_editor();
    void put_editor();

    // One-step cursor moves; each writes the editor into the cell it leaves.
    void move_down();
    void move_up();
    void move_right();
    void move_left();
    // The Enter key.
    void Command1_Click();
    // Loads a text into the editor as the system, not as typing.
    void load_editor(const QString &text);
    // The position display; a row beyond the last row is clamped.
    void set_position_display(int row, int col, bool leading_space);
    void Label5_Change();
    // The fixed-length count n (0 = off) and the character size in points.
    int fixed_length() const;
    double character_size() const;

    bool auto_text_flg = true;
    int skip_adv_flg = 0;
    int enter_hold_flg = 0;
    bool layout_flg = false;
    bool save_cancel_flg = false;
    bool no_prompt_flg = false;

    // Evaluation (sheetwindow_evaluation.cpp).
    EvaluationPanel *evaluation_panel() const { return frame6_; }
    ScorePanel *score_panel() const { return frame4_; }
    // The selected entry of the candidate list, -1 when none.
    int selected_candidate() const;
    // Brings the raw-score panel up to date for the current column.
    void refresh_score_panel();
    // The evaluation command: totals, candidates, the evaluation panel.
    void hyouka_command();

public slots:
    // Operations other windows call by name.
    void set_omomi() {}
    void save_sheet();
    void read_sheet();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void build_panels();
    void build_menus();
    void build_sheet(bool first);
    void lay_out();
    void Text1_Change(const QString &text);
    void Text1_GotFocus();
    bool Text1_KeyDown(int key, int shift);
    void Text1_MouseDown(int button);
    void grdhyouka_RowColChange();
    void grdhyouka_MouseDown(int button, int shift, double x, double y);
    void grdhyouka_MouseMove(int button, int shift, double x, double y);
    void grdhyouka_MouseUp(int button, int shift, double x, double y);
    void grdhyouka_Scroll();
    void VScroll1_Change();
    void VScroll2_Change();
    void one_step(int drow, int dcol);
    void connect_editing();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void file_menu_save();
    void connect_evaluation();
    void hide_editor();
    void show_editor();
    double unit_width() const;
    // Filters of the sheet file dialogs.
    static QStringList file_filters();
    QLabel *heading(QWidget *parent, const QString &text, double top);

    MainWindow *main_;
    int number_;
    Sheet *sheet_;
    SheetGrid *grid_;
    QLineEdit *text1_;
    SheetMenus *menus_;
    QFrame *frame1_;
    QFrame *frame2_;
    QFrame *frame3_;
    ScorePanel *frame4_;
    EvaluationPanel *frame6_;
    QLabel *label3_;
    QLabel *label5_;
    QLabel *label6_;
    QLabel *label7_;
    QLabel *heading_fixed_;
    QLabel *heading_position_;
    QLabel *heading_size_;
    QScrollBar *vscroll1_;
    QScrollBar *vscroll2_;
    QPushButton *command1_;
    class PanelDragger *drag4_;
    class PanelDragger *drag6_;
    bool closed_ = false;
    bool context_menu_open_ = false;
};
