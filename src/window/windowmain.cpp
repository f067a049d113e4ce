#include "cli.h"
#include "app/mainwindow.h"
#include "app/recoverykeeper.h"
#include "app/terminationsignals.h"
#include "common/prompter.h"
#include "print/reportpages.h"
#include "recovery.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QtMessageHandler qt_handler = nullptr;
QStringList held_messages;

// Qt ends the program when it cannot reach the screen it was given (a display
// that is set but gone): the teacher reads why in Japanese, with exit 1, and
// not Qt's English lines before it.
void screen_failure(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fputs(qPrintable(cli::no_display_message()), stderr);
        std::_Exit(1);
    }
    held_messages.append(text);
}

// Qt wants a private runtime folder and warns in English on the terminal when
// the session gives none (a virtual display, a root shell, a batch job): the
// program brings its own, only the user may enter it, as the session's would be.
void ensure_runtime_folder()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray folder = QFile::encodeName(QDir::tempPath()) + "/ponsaiten-runtime-" +
                              QByteArray::number(getuid());
    mkdir(folder.constData(), 0700);
    struct stat info {};
    if (lstat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == getuid() && (info.st_mode & 0777) == 0700)
        qputenv("XDG_RUNTIME_DIR", folder);
}

}  // namespace

// The window program, loaded by the launcher only when a window is wanted:
// the batch command never pays for the widget libraries.
extern "C" Q_DECL_EXPORT int ponsaiten_window_main(int argc, char *argv[])
{
    ensure_runtime_folder();
    qt_handler = qInstallMessageHandler(screen_failure);
    QApplication app(argc, argv);
    qInstallMessageHandler(qt_handler);
    for (const QString &message : std::as_const(held_messages))
        std::fprintf(stderr, "%s\n", qPrintable(message));
    const cli::StartOptions start = cli::start_options(QApplication::arguments(), false);
    if (start.exit_code)
        return *start.exit_code;
    QApplication::setApplicationName(u"ぽん採点"_s);
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationVersion(QStringLiteral(PONSAITEN_VERSION));
    // The desktop entry's name: the desktop shows the program's own icon.
    QGuiApplication::setDesktopFileName(u"jp.ponsaiten.Ponsaiten"_s);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(u":/icons/ponsaiten-%1.png"_s.arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    // Standard buttons and file dialogs speak Japanese whatever the locale.
    QTranslator qt_ja;
    if (qt_ja.load(u"qtbase_ja"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qt_ja);

    QFont font = QApplication::font();
    font.setFamilies({u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s, u"Noto Sans CJK JP"_s});
    font.setPointSizeF(9);
    QApplication::setFont(font);

    DialogPrompter prompter;
    MainWindow window(prompter);
    // The first time the frame takes the screen's whole free area; later it
    // comes back where the teacher left it.
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, u"ponsaiten"_s, u"ponsaiten"_s);
    if (window.restore_place(&settings))
        window.show();
    else
        window.showMaximized();
    window.enable_recovery(RecoveryStore::default_folder());
    // A logout or shutdown asks no questions: the unsaved sheets are copied
    // for the next start, and the program ends at once.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &window, [&window](int signal) {
        window.recovery()->keep_before_exit();
        std::_Exit(128 + signal);
    });
    window.open_files(start.files);
    return app.exec();
}

// Batch commands that paint (the report as PDF): painting needs a GUI
// application, but no display; the offscreen platform serves unless one was asked for.
extern "C" Q_DECL_EXPORT int ponsaiten_batch_main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ensure_runtime_folder();
    QGuiApplication app(argc, argv);
    cli::set_report_painter(&reportpages::write_pdf);
    return cli::run(QGuiApplication::arguments());
}
