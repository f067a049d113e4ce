// The launcher: batch commands, help and version with Qt Core alone; the
// window program is a module of its own, loaded only to open the window.
#include "cli.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <dlfcn.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// Beside the program in the build, in its library folder when installed.
QStringList module_candidates()
{
    const QString dir = QFileInfo(u"/proc/self/exe"_s).canonicalPath();
    return {dir + u"/libponsaiten_window.so"_s,
            dir + u"/"_s + QStringLiteral(PONSAITEN_WINDOW_MODULE_FROM_BIN) +
                u"/libponsaiten_window.so"_s};
}

// Runs an entry point of the window module; 1 when it cannot be loaded.
int run_module(const char *entry, int argc, char *argv[])
{
    QString tried;
    for (const QString &path : module_candidates()) {
        void *module = dlopen(QFile::encodeName(path).constData(), RTLD_LAZY | RTLD_LOCAL);
        if (!module) {
            tried += u"\n  "_s + QString::fromLocal8Bit(dlerror());
            continue;
        }
        using ModuleMain = int (*)(int, char **);
        if (auto module_main = reinterpret_cast<ModuleMain>(dlsym(module, entry)))
            return module_main(argc, argv);
        tried += u"\n  "_s + path + u": "_s + QString::fromLatin1(entry) + u" がありません"_s;
    }
    std::fprintf(stderr, "ponsaiten: ウインドウのモジュールを読み込めません:%s\n", qPrintable(tried));
    return 1;
}

}  // namespace

int main(int argc, char *argv[])
{
    {
        QStringList args;
        for (int i = 0; i < argc; ++i)
            args.append(QString::fromLocal8Bit(argv[i]));
        // The report's PDF is painted by the window module, without a window.
        if (cli::report_wants_pdf(args))
            return run_module("ponsaiten_batch_main", argc, argv);
        if (cli::is_batch(args)) {
#ifdef __GLIBC__
            // A sheet is some hundred thousand small strings: growing the heap
            // in large steps spares a system call every few of them. Large
            // buffers (a file's bytes, its text) come from the heap too, so
            // that memory one of them gives back serves the next without
            // being cleared and mapped again.
            mallopt(M_TOP_PAD, 64 * 1024 * 1024);
            mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
            mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
            // No application object: nothing here needs one, and building it
            // costs a tenth of the whole command.
            return cli::run(args);
        }
        // Help and version need no window system, and none may be there.
        const cli::StartOptions early = cli::start_options(args, true);
        if (early.exit_code)
            return *early.exit_code;
        // Qt would abort with an English message of its own.
        if (cli::display_missing(early.qt_options, qEnvironmentVariable("QT_QPA_PLATFORM"),
                                 qEnvironmentVariable("DISPLAY"),
                                 qEnvironmentVariable("WAYLAND_DISPLAY"))) {
            std::fputs(qPrintable(cli::no_display_message()), stderr);
            return 1;
        }
    }

    return run_module("ponsaiten_window_main", argc, argv);
}
