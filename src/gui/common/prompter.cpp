#include "common/prompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QEvent>
#include <functional>

using namespace Qt::StringLiterals;

QString Prompter::program_title()
{
    return u"ぽん採点"_s;
}

Prompter::Answer Prompter::default_button(Buttons buttons, Answer wanted)
{
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return wanted == Answer::Cancel ? Answer::Cancel : Answer::Ok;
    case Buttons::YesNo:
        return wanted == Answer::No ? Answer::No : Answer::Yes;
    case Buttons::YesNoCancel:
        return wanted == Answer::Ok ? Answer::Yes : wanted;
    }
    return Answer::Ok;
}

QPoint Prompter::place_beside(const QRect &frame, const QSize &box, const QRect &screen)
{
    const int gap = 8;
    const int top = qBound(screen.top(), frame.top(), qMax(screen.top(), screen.bottom() + 1 - box.height()));
    if (frame.right() + gap + box.width() <= screen.right() + 1)
        return {frame.right() + 1 + gap, top};
    if (frame.left() - gap - box.width() >= screen.left())
        return {frame.left() - gap - box.width(), top};
    return {qMax(screen.left(), qMin(frame.right(), screen.right()) + 1 - box.width()), top};
}

namespace {

void set_up(QMessageBox &box, const QString &text, Prompter::Buttons buttons, const QString &title,
            Prompter::Answer default_answer)
{
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(title.isEmpty() ? Prompter::program_title() : title);
    box.setTextFormat(Qt::PlainText);
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    box.setText(shown);
    // Readers speak the question with the box's name, not only its title.
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(shown);
    switch (buttons) {
    case Prompter::Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Prompter::Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Prompter::Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Prompter::Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    using Answer = Prompter::Answer;
    const Answer chosen = Prompter::default_button(buttons, default_answer);
    box.setDefaultButton(chosen == Answer::Ok    ? QMessageBox::Ok
                         : chosen == Answer::Yes ? QMessageBox::Yes
                         : chosen == Answer::No  ? QMessageBox::No
                                                 : QMessageBox::Cancel);
}

// Runs a placement once, when the watched window first becomes active.
class PlaceOnActivation : public QObject
{
public:
    explicit PlaceOnActivation(std::function<void()> place) : place_(std::move(place)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && place_) {
            std::exchange(place_, nullptr)();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> place_;
};

Prompter::Answer answer_of(int result, Prompter::Buttons buttons)
{
    switch (result) {
    case QMessageBox::Ok:
        return Prompter::Answer::Ok;
    case QMessageBox::Yes:
        return Prompter::Answer::Yes;
    case QMessageBox::No:
        return Prompter::Answer::No;
    case QMessageBox::Cancel:
        return Prompter::Answer::Cancel;
    default:
        // Closing a Yes/No/Cancel box with Esc or its close button means Cancel.
        return buttons == Prompter::Buttons::Ok      ? Prompter::Answer::Ok
               : buttons == Prompter::Buttons::YesNo ? Prompter::Answer::No
                                                     : Prompter::Answer::Cancel;
    }
}

}  // namespace

Prompter::Answer DialogPrompter::ask(QWidget *parent, const QString &text, Buttons buttons,
                                     const QString &title, Answer default_answer)
{
    QMessageBox box(parent);
    set_up(box, text, buttons, title, default_answer);
    return answer_of(box.exec(), buttons);
}

Prompter::Answer DialogPrompter::ask_beside(QWidget *window, const QString &text, Buttons buttons)
{
    QMessageBox box(window);
    // The preview's question goes on to the next page: OK loses nothing.
    set_up(box, text, buttons, QString(), Answer::Ok);
    box.adjustSize();
    QScreen *screen = window ? window->screen() : nullptr;
    if (window && screen) {
        auto place = [&box, window, screen] {
            box.move(place_beside(window->frameGeometry(), box.frameGeometry().size(),
                                  screen->availableGeometry()));
        };
        place();
        // Window managers centre a dialog over its parent when they map it;
        // once it is active, with its frame known, it goes where it belongs.
        PlaceOnActivation placer(place);
        box.installEventFilter(&placer);
        return answer_of(box.exec(), buttons);
    }
    return answer_of(box.exec(), buttons);
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
