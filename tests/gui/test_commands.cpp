#include "sheet/commands.h"

#include <QTest>

// Which commands can be chosen, as the table of commands works it out from
// the state of the frame and of the active sheet's history.
class TestCommands : public QObject
{
    Q_OBJECT

    static QList<Command> enabled_in(const CommandState &state)
    {
        QList<Command> enabled;
        for (const CommandInfo &command : commands::all())
            if (commands::is_enabled(command.id, state))
                enabled.append(command.id);
        return enabled;
    }

    static QList<Command> all_but(const QList<Command> &left_out)
    {
        QList<Command> rest;
        for (const CommandInfo &command : commands::all())
            if (!left_out.contains(command.id))
                rest.append(command.id);
        return rest;
    }

private slots:
    void enabling_data()
    {
        QTest::addColumn<bool>("sheet_open");
        QTest::addColumn<bool>("can_undo");
        QTest::addColumn<bool>("can_redo");
        QTest::addColumn<QList<Command>>("enabled");
        // Without a sheet only the frame's own buttons make sense, whatever
        // a closed sheet's history held.
        const QList<Command> frame_only{Command::NewSheet, Command::ReadInNewSheet};
        QTest::newRow("no sheet") << false << false << false << frame_only;
        QTest::newRow("no sheet, history left") << false << true << true << frame_only;
        QTest::newRow("fresh sheet") << true << false << false
                                     << all_but({Command::Undo, Command::Redo});
        QTest::newRow("a step to undo") << true << true << false << all_but({Command::Redo});
        QTest::newRow("a step to redo") << true << false << true << all_but({Command::Undo});
        QTest::newRow("steps both ways") << true << true << true << all_but({});
    }

    void enabling()
    {
        QFETCH(bool, sheet_open);
        QFETCH(bool, can_undo);
        QFETCH(bool, can_redo);
        QFETCH(QList<Command>, enabled);
        QCOMPARE(enabled_in({.sheet_open = sheet_open, .can_undo = can_undo, .can_redo = can_redo}),
                 enabled);
    }

    // Each command stands at its place in the table: looking one up by its
    // id finds that very command.
    void ids_find_their_commands()
    {
        for (const CommandInfo &command : commands::all())
            QCOMPARE(&commands::info(command.id), &command);
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "test_commands.moc"
