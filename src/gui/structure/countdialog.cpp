#include "structure/countdialog.h"

#include "common/accessiblenames.h"
#include "common/fonts.h"
#include "common/objectnames.h"
#include "common/prompter.h"
#include "numbers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

using namespace Qt::StringLiterals;

CountDialog::CountDialog(Prompter &prompter, QWidget *parent)
    : QDialog(parent), prompter_(prompter)
{
    setObjectName(object_name::count_dialog);
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    prompt_label_ = new QLabel(this);
    prompt_label_->setObjectName(object_name::count_prompt_label);
    count_box_ = new QLineEdit(u"0"_s, this);
    count_box_->setObjectName(object_name::count_box);
    count_box_->setFont(fonts::sheet_font(12));
    auto *ok = new QPushButton(u"O K"_s, this);
    ok->setObjectName(object_name::count_ok_button);
    ok->setDefault(true);
    auto *close = new QPushButton(u"閉じる"_s, this);
    close->setObjectName(object_name::count_close_button);
    close->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt_label_);
    layout->addWidget(count_box_);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CountDialog::accept_count);
    connect(close, &QPushButton::clicked, this, &CountDialog::put_away);
    accessible_names::name_controls(this);
}

void CountDialog::ask(QWidget *asker, const QString &caption, const QString &prompt,
                      std::function<void(int)> act)
{
    asker_ = asker;
    act_ = std::move(act);
    setWindowTitle(caption);
    prompt_label_->setText(prompt);
    setEnabled(true);
    show();
    raise();
    activateWindow();
    count_box_->setFocus();
    count_box_->selectAll();
}

void CountDialog::put_away()
{
    hide();
    setEnabled(false);
}

void CountDialog::accept_count()
{
    const double n = numbers::leading_number(count_box_->text());
    // A count the dialog cannot act on is said, and the dialog stays to be
    // corrected.
    if (!(n >= 1 && n < 10)) {
        prompter_.message(this, u"1 から 9 までの数を入力してください。"_s);
        count_box_->setFocus();
        count_box_->selectAll();
        return;
    }
    hide();
    if (asker_ && act_)
        act_(int(std::floor(n)));
}
