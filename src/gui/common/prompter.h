#pragma once

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
    virtual Answer ask(QWidget *parent, const QString &text, Buttons buttons,
                       const QString &title = QString()) = 0;
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
};

// The real dialogs: QMessageBox and Qt's own QFileDialog.
class DialogPrompter : public Prompter
{
public:
    Answer ask(QWidget *parent, const QString &text, Buttons buttons,
               const QString &title) override;
    std::optional<QString> open_file(QWidget *parent, const QStringList &filters) override;
    std::optional<QString> save_file(QWidget *parent, const QStringList &filters,
                                     const QString &default_name) override;
    std::optional<QStringList> open_files(QWidget *parent, const QStringList &filters) override;
};
