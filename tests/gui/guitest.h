#pragma once

// Shared fixture of the GUI tests: the offscreen platform, a temporary working
// folder, a scripted Prompter and a watchdog against unexpected modal windows.

#include "app/mainwindow.h"
#include "common/objectnames.h"
#include "common/prompter.h"
#include "print/printersettings.h"
#include "sheet.h"
#include "sheet/celleditor.h"
#include "sheet/filecommands.h"
#include "sheet/inputpanels.h"
#include "sheet/sheetwindow.h"

#include <QAction>
#include <QToolBar>
#include <QApplication>
#include <QDir>
#include <QList>
#include <QQueue>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>

struct Asked {
    QString text;
    Prompter::Buttons buttons;
    QString title;
    // The button Enter would answer.
    Prompter::Answer default_answer;
};

struct FileDialogCall {
    bool save = false;
    QStringList filters;
    QString default_name;
};

// Answers from a script and records every question and dialog.
class ScriptedPrompter : public Prompter
{
public:
    QQueue<Answer> answers;
    QQueue<std::optional<QString>> files;
    QList<Asked> asked;
    QList<FileDialogCall> dialogs;
    QStringList unexpected;  // questions or dialogs nobody scripted

    Answer ask(QWidget *, const QString &text, Buttons buttons, const QString &title,
               Answer default_answer) override
    {
        asked.append({text, buttons, title, default_button(buttons, default_answer)});
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        if (answers.isEmpty()) {
            unexpected.append(text);
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
        return answers.dequeue();
    }

    std::optional<QString> open_file(QWidget *, const QStringList &filters) override
    {
        dialogs.append({false, filters, QString()});
        return next_file(QStringLiteral("open dialog"));
    }

    std::optional<QString> save_file(QWidget *, const QStringList &filters,
                                     const QString &default_name) override
    {
        dialogs.append({true, filters, default_name});
        return next_file(QStringLiteral("save dialog"));
    }

    QStringList messages() const
    {
        QStringList list;
        for (const Asked &a : asked)
            list.append(a.text);
        return list;
    }

    void clear()
    {
        answers.clear();
        files.clear();
        asked.clear();
        dialogs.clear();
        unexpected.clear();
    }

private:
    std::optional<QString> next_file(const QString &what)
    {
        if (files.isEmpty()) {
            unexpected.append(what);
            return std::nullopt;
        }
        return files.dequeue();
    }
};

// Closes any modal window that shows up and remembers it, so a test fails
// instead of hanging.
class ModalWatchdog : public QObject
{
public:
    QStringList seen;
    // A popup (context menu) is answered by choosing the item with this text,
    // or closed when it has none; every popup's object name is remembered.
    QString popup_choice;
    QStringList popups;

    ModalWatchdog()
    {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                seen.append(modal->windowTitle() + QStringLiteral(" / ") +
                            QString::fromLatin1(modal->metaObject()->className()));
                modal->close();
            }
            if (QWidget *popup = QApplication::activePopupWidget()) {
                popups.append(popup->objectName());
                bool chosen = false;
                for (QAction *action : popup->actions())
                    if (!popup_choice.isEmpty() && action->text() == popup_choice) {
                        popup->close();
                        action->trigger();
                        chosen = true;
                        break;
                    }
                if (!chosen)
                    popup->close();
            }
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

// A control of a window by its object name; a missing one ends the test run.
template <class T>
T *named(const QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// A key as the keyboard sends it: to whichever widget has the focus.
inline void press_key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY2(target, "no widget has the focus");
    QTest::keyClick(target, key, modifiers);
}

inline void type_keys(const QString &text)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY2(target, "no widget has the focus");
    QTest::keyClicks(target, text);
}

inline void prepare_gui_test_environment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline void set_program_font()
{
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    font.setPointSizeF(9);
    QApplication::setFont(font);
}

// A temporary folder that is also the working folder while the test runs.
class WorkingFolder
{
public:
    WorkingFolder() : old_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~WorkingFolder() { QDir::setCurrent(old_); }
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString old_;
};

// Base of the suites that drive a whole main window: each test gets a fresh
// window, working folder, scripted prompter and watchdog.
class GuiTestBase : public QObject
{
protected:
    std::unique_ptr<WorkingFolder> folder;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<ModalWatchdog> watchdog;
    std::unique_ptr<MainWindow> main;

    void start_session()
    {
        folder = std::make_unique<WorkingFolder>();
        prompter = std::make_unique<ScriptedPrompter>();
        watchdog = std::make_unique<ModalWatchdog>();
        main = std::make_unique<MainWindow>(*prompter);
        // Never a job on the machine's own printers: pages go to PDF files.
        main->printer_settings().set_printer({});
        main->show();
    }

    // A session whose first sheet is maximized in a large, active frame with
    // its toolbar running: the sheet window it returns has the keys.
    SheetWindow *start_maximized_session()
    {
        start_session();
        main->resize(1400, 900);
        if (!QTest::qWaitForWindowExposed(main.get()))
            qWarning("the frame was not shown");
        SheetWindow *sheet = main->active_sheet();
        sheet->parentWidget()->showMaximized();
        if (!QTest::qWaitFor([this] { return main->toolbar()->isEnabled(); }))
            qWarning("the toolbar did not come alive");
        main->activateWindow();
        if (!QTest::qWaitForWindowActive(main.get()))
            qWarning("the frame did not become active");
        sheet->editor()->setFocus();
        return sheet;
    }

    // Fails the test on any question nobody scripted or any modal window, then
    // takes everything down without further questions.
    void end_session()
    {
        const QStringList unexpected = prompter->unexpected;
        const QStringList modal = watchdog->seen;
        for (SheetWindow *sheet_window : main->sheets())
            sheet_window->set_never_prompt();
        main.reset();
        watchdog.reset();
        prompter.reset();
        folder.reset();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QStringLiteral(" | "))));
        QVERIFY2(modal.isEmpty(), qPrintable(modal.join(QStringLiteral(" | "))));
    }
};

#define PONSAITEN_GUI_TEST_MAIN(TestClass)                                                        \
    int main(int argc, char *argv[])                                                              \
    {                                                                                             \
        prepare_gui_test_environment();                                                           \
        QApplication app(argc, argv);                                                             \
        set_program_font();                                                                       \
        TestClass test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                   \
    }
