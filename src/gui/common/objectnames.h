#pragma once

#include <QLatin1StringView>

// The object names of the windows, controls and commands. Tests find controls
// by them and assistive tools read them; they keep the names earlier versions
// gave them, so nothing that looks for them breaks. This header is the only
// place those names are spelled.
namespace object_name {

using namespace Qt::StringLiterals;

// --- Commands: menus, menu items, toolbar buttons -----------------------------

// The menus of a sheet window's bar, its submenus and its context menu.
inline constexpr QLatin1StringView file_menu = "menu_file"_L1;
inline constexpr QLatin1StringView edit_menu = "mnu_edit"_L1;
inline constexpr QLatin1StringView view_menu = "menu_hyouji"_L1;
inline constexpr QLatin1StringView columns_menu = "menu_retu"_L1;
inline constexpr QLatin1StringView rows_menu = "menu_gyou"_L1;
inline constexpr QLatin1StringView evaluation_menu = "mnu_culc"_L1;
inline constexpr QLatin1StringView window_menu = "mnu_window"_L1;
inline constexpr QLatin1StringView help_menu = "mnu_help_0"_L1;
inline constexpr QLatin1StringView context_menu = "edit_2"_L1;

// The separators, each by the items it sets apart.
inline constexpr QLatin1StringView file_separator_before_close = "sep100"_L1;
inline constexpr QLatin1StringView file_separator_before_print = "sep003"_L1;
inline constexpr QLatin1StringView file_separator_before_end = "sep999"_L1;
inline constexpr QLatin1StringView edit_separator_after_redo = "sep_undo"_L1;
inline constexpr QLatin1StringView edit_separator_before_select_all = "sep_09"_L1;
inline constexpr QLatin1StringView edit_separator_before_fold = "sep_fold"_L1;
inline constexpr QLatin1StringView columns_separator = "sep001"_L1;
inline constexpr QLatin1StringView context_separator = "sep9"_L1;

// The items of the menu bar's menus.
inline constexpr QLatin1StringView read_item = "sheet_read"_L1;
inline constexpr QLatin1StringView same_setup_item = "mnu_same_setup"_L1;
inline constexpr QLatin1StringView write_item = "sheet_write"_L1;
inline constexpr QLatin1StringView close_item = "mnu_close"_L1;
inline constexpr QLatin1StringView print_settings_item = "mnu_psettei"_L1;
inline constexpr QLatin1StringView preview_item = "mnu_preview"_L1;
inline constexpr QLatin1StringView print_item = "mnu_print"_L1;
inline constexpr QLatin1StringView end_program_item = "prg_end"_L1;
inline constexpr QLatin1StringView undo_item = "mnu_undo"_L1;
inline constexpr QLatin1StringView redo_item = "mnu_redo"_L1;
inline constexpr QLatin1StringView cut_item = "mnu_cut"_L1;
inline constexpr QLatin1StringView copy_item = "mnu_copy"_L1;
inline constexpr QLatin1StringView paste_item = "mnu_past"_L1;
inline constexpr QLatin1StringView select_all_item = "mnu_all_e"_L1;
inline constexpr QLatin1StringView fold_marks_item = "mnu_fold"_L1;
inline constexpr QLatin1StringView fit_titles_item = "mnu_fit_titles"_L1;
inline constexpr QLatin1StringView insert_columns_item = "menu_insert"_L1;
inline constexpr QLatin1StringView delete_columns_item = "menu_sakujo"_L1;
inline constexpr QLatin1StringView insert_rows_item = "insert_g"_L1;
inline constexpr QLatin1StringView delete_rows_item = "dele_g"_L1;
inline constexpr QLatin1StringView evaluate_item = "mnu_hyouka_go"_L1;
inline constexpr QLatin1StringView report_item = "mnu_report"_L1;
inline constexpr QLatin1StringView viewpoints_item = "mnu_kanten"_L1;
inline constexpr QLatin1StringView copy_viewpoints_item = "mnu_kanten_copy"_L1;
inline constexpr QLatin1StringView tile_stacked_item = "mnu_jouge"_L1;
inline constexpr QLatin1StringView tile_side_by_side_item = "mnu_sayuu"_L1;
inline constexpr QLatin1StringView cascade_item = "mnu_kasane"_L1;
inline constexpr QLatin1StringView help_item = "mnu_help"_L1;
inline constexpr QLatin1StringView about_item = "about_prg"_L1;

// The items of the context menu.
inline constexpr QLatin1StringView context_copy_item = "edit2_copy"_L1;
inline constexpr QLatin1StringView context_cut_item = "menu_cut2"_L1;
inline constexpr QLatin1StringView context_paste_item = "mnu_paste2"_L1;
inline constexpr QLatin1StringView context_cancel_item = "mnu_cansel2"_L1;

// The frame's toolbar buttons.
inline constexpr QLatin1StringView new_sheet_button = "new_sheet"_L1;
// The same name as the file menu's item, which reads into the sheet itself.
inline constexpr QLatin1StringView read_in_new_sheet_button = read_item;
inline constexpr QLatin1StringView save_button = "sheet_save"_L1;
inline constexpr QLatin1StringView print_button = "prn_sheet"_L1;
inline constexpr QLatin1StringView cut_button = "cut"_L1;
inline constexpr QLatin1StringView copy_button = "copy"_L1;
inline constexpr QLatin1StringView paste_button = "past"_L1;
inline constexpr QLatin1StringView insert_columns_button = "ins_retu"_L1;
inline constexpr QLatin1StringView insert_rows_button = "ins_gyou"_L1;
inline constexpr QLatin1StringView delete_columns_button = "del_retu"_L1;
inline constexpr QLatin1StringView delete_rows_button = "del_gyou"_L1;
inline constexpr QLatin1StringView delete_contents_button = "del_moji"_L1;

// --- Controls -----------------------------------------------------------------

// The frame and its sheet windows.
inline constexpr QLatin1StringView main_window = "MDIForm1"_L1;
inline constexpr QLatin1StringView sheet_area = "MDIClient"_L1;
inline constexpr QLatin1StringView startup_timer = "Timer1"_L1;
inline constexpr QLatin1StringView sheet_window = "Form1"_L1;
inline constexpr QLatin1StringView enter_button = "Command1"_L1;
inline constexpr QLatin1StringView sheet_grid = "grdhyouka"_L1;
inline constexpr QLatin1StringView cell_editor = "Text1"_L1;

// The input panels: character size, input position, fixed length.
inline constexpr QLatin1StringView input_panels = "InputPanels"_L1;
inline constexpr QLatin1StringView size_position_panel = "Frame1"_L1;
inline constexpr QLatin1StringView character_size_label = "Label3"_L1;
inline constexpr QLatin1StringView character_size_scroll = "VScroll1"_L1;
inline constexpr QLatin1StringView row_label = "Label5"_L1;
inline constexpr QLatin1StringView column_label = "Label6"_L1;
inline constexpr QLatin1StringView fixed_length_panel = "Frame2"_L1;
inline constexpr QLatin1StringView fixed_length_label = "Label7"_L1;
inline constexpr QLatin1StringView fixed_length_scroll = "VScroll2"_L1;
inline constexpr QLatin1StringView panel_separator = "Frame3"_L1;

// The score panel of the current score column.
inline constexpr QLatin1StringView score_panel = "Frame4"_L1;
inline constexpr QLatin1StringView title_box = "Text4"_L1;
inline constexpr QLatin1StringView full_marks_box = "Text3"_L1;
inline constexpr QLatin1StringView weight_box = "Text2"_L1;
inline constexpr QLatin1StringView column_average_label = "Label11"_L1;
inline constexpr QLatin1StringView evaluate_button = "Command3"_L1;
inline constexpr QLatin1StringView statistics_label = "LabelStatistics"_L1;
inline constexpr QLatin1StringView look_alike_label = "LabelLookAlike"_L1;
inline constexpr QLatin1StringView viewpoint_choice = "ComboKanten"_L1;
inline constexpr QLatin1StringView viewpoints_button = "CommandKanten"_L1;

// The evaluation panel.
inline constexpr QLatin1StringView evaluation_panel = "Frame6"_L1;
inline constexpr QLatin1StringView close_button = "Command7"_L1;
inline constexpr QLatin1StringView lower_criterion_label = "Label19"_L1;
inline constexpr QLatin1StringView lower_criterion_scroll = "VScroll3"_L1;
inline constexpr QLatin1StringView upper_criterion_label = "Label20"_L1;
inline constexpr QLatin1StringView upper_criterion_scroll = "VScroll4"_L1;
inline constexpr QLatin1StringView candidate_list = "List2"_L1;
inline constexpr QLatin1StringView recalculate_button = "Command8"_L1;
inline constexpr QLatin1StringView decide_button = "Command2"_L1;
inline constexpr QLatin1StringView abort_button = "Command5"_L1;
inline constexpr QLatin1StringView totals_grid = "MSFlexGrid1"_L1;
inline constexpr QLatin1StringView grades_grid = "MSFlexGrid2"_L1;
inline constexpr QLatin1StringView highest_label = "Label8"_L1;
inline constexpr QLatin1StringView lowest_label = "Label17"_L1;
inline constexpr QLatin1StringView graded_label = "Label24"_L1;
inline constexpr QLatin1StringView totals_average_label = "LabelTotalsAverage"_L1;
inline constexpr QLatin1StringView totals_deviation_label = "LabelTotalsDeviation"_L1;
inline constexpr QLatin1StringView look_alike_button = "CommandLookAlike"_L1;

// The viewpoint panel: results per student, their counts, its settings.
inline constexpr QLatin1StringView viewpoint_panel = "FrameKanten"_L1;
inline constexpr QLatin1StringView viewpoint_pages = "TabKanten"_L1;
inline constexpr QLatin1StringView viewpoint_results = "GridKanten"_L1;
inline constexpr QLatin1StringView viewpoint_counts = "GridKantenCount"_L1;
inline constexpr QLatin1StringView grade_counts = "GridHyouteiCount"_L1;
inline constexpr QLatin1StringView threshold_a_box = "SpinThresholdA"_L1;
inline constexpr QLatin1StringView threshold_b_box = "SpinThresholdB"_L1;
inline constexpr QLatin1StringView method_choice = "ComboMethod"_L1;
inline constexpr QLatin1StringView conversion_table = "GridConversion"_L1;
inline constexpr QLatin1StringView viewpoint_names = "GridKantenNames"_L1;
inline constexpr QLatin1StringView hand_set_list = "ListHandSet"_L1;
inline constexpr QLatin1StringView check_list = "ListChecks"_L1;
inline constexpr QLatin1StringView viewpoint_decide_button = "CommandKantenDecide"_L1;
inline constexpr QLatin1StringView viewpoint_abort_button = "CommandKantenAbort"_L1;

// The count dialog of column and row insertion and deletion.
inline constexpr QLatin1StringView count_dialog = "Form2"_L1;
inline constexpr QLatin1StringView count_prompt_label = "Label1"_L1;
inline constexpr QLatin1StringView count_box = "Text1"_L1;
inline constexpr QLatin1StringView count_ok_button = "Command1"_L1;
inline constexpr QLatin1StringView count_close_button = "Command2"_L1;

// The print settings window and the print image window.
inline constexpr QLatin1StringView print_settings_window = "Form5"_L1;
inline constexpr QLatin1StringView printer_caption = "Label1"_L1;
inline constexpr QLatin1StringView printer_label = "Label4"_L1;
inline constexpr QLatin1StringView paper_caption = "Label2"_L1;
inline constexpr QLatin1StringView paper_list = "Combo2"_L1;
inline constexpr QLatin1StringView orientation_caption = "Label3"_L1;
inline constexpr QLatin1StringView portrait_option = "Option1_0"_L1;
inline constexpr QLatin1StringView landscape_option = "Option1_1"_L1;
inline constexpr QLatin1StringView fit_width_box = "Check_fit_width"_L1;
inline constexpr QLatin1StringView print_settings_ok_button = "Command1"_L1;
inline constexpr QLatin1StringView print_settings_cancel_button = "Command2"_L1;
inline constexpr QLatin1StringView preview_window = "Form3"_L1;
inline constexpr QLatin1StringView preview_end_button = "image_end"_L1;

// The help viewer.
inline constexpr QLatin1StringView help_viewer = "Form4"_L1;
inline constexpr QLatin1StringView help_page = "brwWebBrowser"_L1;
inline constexpr QLatin1StringView help_toolbar = "tbToolBar"_L1;
inline constexpr QLatin1StringView help_search_box = "txtSearch"_L1;
inline constexpr QLatin1StringView help_address_box = "cboAddress"_L1;
inline constexpr QLatin1StringView help_go_button = "cmdGo"_L1;
inline constexpr QLatin1StringView help_home_label = "Label1"_L1;
inline constexpr QLatin1StringView help_timer = "timTimer"_L1;

// The grade-meeting report window.
inline constexpr QLatin1StringView report_window = "ReportWindow"_L1;
inline constexpr QLatin1StringView report_sources = "ReportSources"_L1;
inline constexpr QLatin1StringView report_add_button = "ReportAdd"_L1;
inline constexpr QLatin1StringView report_print_button = "ReportPrint"_L1;
inline constexpr QLatin1StringView report_pdf_button = "ReportPdf"_L1;
inline constexpr QLatin1StringView report_close_button = "ReportClose"_L1;
inline constexpr QLatin1StringView report_page = "ReportPage"_L1;

}  // namespace object_name
