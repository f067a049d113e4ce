#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>

class Prompter;
class QLabel;
class QLineEdit;

// The count dialog, one for the whole program: how many columns or rows
// to insert or delete when a single cell is selected. Modeless; it acts on
// the sheet window that opened it.
class CountDialog : public QDialog
{
    Q_OBJECT

public:
    CountDialog(Prompter &prompter, QWidget *parent);

    // Shows the dialog with a caption and a prompt; O K with a count from 1
    // to 9 calls act with it, as long as the window that asked is open.
    void ask(QWidget *asker, const QString &caption, const QString &prompt,
             std::function<void(int)> act);
    // Hidden and disabled (the grid was pressed, or 閉じる).
    void put_away();

private:
    void accept_count();

    Prompter &prompter_;
    QLabel *prompt_label_;
    QLineEdit *count_box_;
    QPointer<QWidget> asker_;
    std::function<void(int)> act_;
};
