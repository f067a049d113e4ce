#include "cli.h"
#include "app/mainwindow.h"
#include "common/prompter.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    {
        QStringList args;
        for (int i = 0; i < argc; ++i)
            args.append(QString::fromLocal8Bit(argv[i]));
        if (cli::is_batch(args)) {
            QCoreApplication app(argc, argv);
            return cli::run(args);
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"ぽん採点"_s);
    QApplication::setApplicationDisplayName(QString());

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
    window.show();
    return app.exec();
}
