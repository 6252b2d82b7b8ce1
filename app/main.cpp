#include "app/Module1.h"
#include "app/appinfo.h"
#include "app/displayguard.h"
#include "app/frmMain.h"
#include "app/settings.h"
#include "app/startupwarmup.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    // The font configuration loads on the second processor while the application connects to
    // the window system; the first font needs it.
    mitoon::StartupWarmUp fontConfiguration(&mitoon::StartupWarmUp::loadFontConfiguration);
    // Without a graphical display: a message in Japanese and status 1, no abort.
    mitoon::DisplayGuard displayGuard;
    QApplication app(argc, argv);
    displayGuard.release();
    QApplication::setApplicationName(mitoon::appTitle());
    QApplication::setApplicationVersion(mitoon::versionText());
    QApplication::setDesktopFileName(QStringLiteral("mitoon"));
    fontConfiguration.join();
    mitoon::fonts::registerSubstitutions();
    // Menus, message boxes and dialogs in the same Japanese Gothic as the windows. It has every
    // character the program's own texts use, so no fallback fonts are looked for at start-up.
    QApplication::setFont(mitoon::fonts::fixedFont(mitoon::fonts::kPGothic, 9));

    // Qt's own dialogs and standard buttons speak Japanese like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    mitoon::Settings settings;
    mitoon::Module1::Main(settings);
    return app.exec();
}
