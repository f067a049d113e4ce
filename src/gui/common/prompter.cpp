#include "common/prompter.h"

#include <QFileDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

QString Prompter::program_title()
{
    return u"ぽん採点"_s;
}

Prompter::Answer DialogPrompter::ask(QWidget *parent, const QString &text, Buttons buttons,
                                     const QString &title)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(title.isEmpty() ? program_title() : title);
    box.setTextFormat(Qt::PlainText);
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    box.setText(shown);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // Closing a Yes/No/Cancel box with Esc or its close button means Cancel.
        return buttons == Buttons::Ok ? Answer::Ok
               : buttons == Buttons::YesNo ? Answer::No
                                           : Answer::Cancel;
    }
}

std::optional<QString> DialogPrompter::open_file(QWidget *parent, const QStringList &filters)
{
    const QString path = QFileDialog::getOpenFileName(parent, QString(), QString(),
                                                      filters.join(u";;"_s), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QStringList> DialogPrompter::open_files(QWidget *parent, const QStringList &filters)
{
    const QStringList paths = QFileDialog::getOpenFileNames(parent, QString(), QString(),
                                                            filters.join(u";;"_s), nullptr,
                                                            QFileDialog::DontUseNativeDialog);
    if (paths.isEmpty())
        return std::nullopt;
    return paths;
}

std::optional<QString> DialogPrompter::save_file(QWidget *parent, const QStringList &filters,
                                                 const QString &default_name)
{
    // The caller asks its own overwrite question; no extension is added.
    const QString path = QFileDialog::getSaveFileName(
        parent, QString(), default_name, filters.join(u";;"_s), nullptr,
        QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}
