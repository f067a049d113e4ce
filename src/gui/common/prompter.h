#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// Message boxes and file dialogs behind one interface, so that windows never
// call a modal box directly and tests can answer them from a script.
class Prompter
{
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;

    // A message box without icon; an empty title means the program's title.
    // The default button (what Enter answers) is default_answer, or the first
    // button when that is not among the buttons. Callers name the answer that
    // loses nothing.
    virtual Answer ask(QWidget *parent, const QString &text, Buttons buttons,
                       const QString &title = QString(),
                       Answer default_answer = Answer::Yes) = 0;
    // Returns the chosen path, or nothing when cancelled.
    virtual std::optional<QString> open_file(QWidget *parent, const QStringList &filters) = 0;
    virtual std::optional<QString> save_file(QWidget *parent, const QStringList &filters,
                                             const QString &default_name) = 0;
    // Several files at once; nothing when cancelled. By default one file.
    virtual std::optional<QStringList> open_files(QWidget *parent, const QStringList &filters)
    {
        const std::optional<QString> one = open_file(parent, filters);
        return one ? std::optional<QStringList>(QStringList{*one}) : std::nullopt;
    }

    void message(QWidget *parent, const QString &text) { ask(parent, text, Buttons::Ok); }

    static QString program_title();
    // As ask, with the box placed beside the window it speaks about, so
    // that it hides nothing of what the window shows.
    virtual Answer ask_beside(QWidget *window, const QString &text, Buttons buttons)
    {
        return ask(window, text, buttons);
    }
    // Where a box of that size goes beside a window's frame on a screen:
    // right of it, else left of it, else over its top-right corner.
    static QPoint place_beside(const QRect &frame, const QSize &box, const QRect &screen);

    // The button Enter answers in a box of these buttons when the caller
    // wants `wanted`.
    static Answer default_button(Buttons buttons, Answer wanted);
};

// The real dialogs: QMessageBox and Qt's own QFileDialog.
class DialogPrompter : public Prompter
{
public:
    Answer ask(QWidget *parent, const QString &text, Buttons buttons, const QString &title,
               Answer default_answer) override;
    Answer ask_beside(QWidget *window, const QString &text, Buttons buttons) override;
    std::optional<QString> open_file(QWidget *parent, const QStringList &filters) override;
    std::optional<QString> save_file(QWidget *parent, const QStringList &filters,
                                     const QString &default_name) override;
    std::optional<QStringList> open_files(QWidget *parent, const QStringList &filters) override;
};
