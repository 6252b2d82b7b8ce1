// mitoon-browser: the web-browser window of the About box, in a process of its own.
//
//     mitoon-browser [--transient-for ID] [--home-page ADDRESS] [--search-page ADDRESS] ADDRESS
//
// ADDRESS is the start page. On X11 the window stays above the window ID, the About box.
// The Home and Search buttons load the component's own pages: --home-page and --search-page,
// else $MITOON_BROWSER_HOME and $MITOON_BROWSER_SEARCH, else about:blank and a web search.

#include "info/browser/frmBrowser.h"
#include "info/browser/transientowner.h"
#include "info/browser/webenginebrowser.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QCommandLineParser>

using namespace mitoon;

namespace {

QString setting(const QCommandLineParser &parser, const QCommandLineOption &option,
                const char *variable, const QString &fallback)
{
    if (parser.isSet(option))
        return parser.value(option);
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? fallback : value;
}

} // namespace

int main(int argc, char *argv[])
{
    // The page renderer shares its OpenGL context with the application's, which must be set up
    // before the application object exists. An inherited QSG_RHI_BACKEND (vulkan, say) would
    // crash it.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QSG_RHI_BACKEND", "opengl");

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mitoon-browser"));
    fonts::registerSubstitutions();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The web-browser window of ミトーン."));
    parser.addHelpOption();
    const QCommandLineOption transientFor(QStringLiteral("transient-for"),
                                          QStringLiteral("Stay above the X11 window <id>."),
                                          QStringLiteral("id"));
    const QCommandLineOption homePage(QStringLiteral("home-page"),
                                      QStringLiteral("The page of the Home button."),
                                      QStringLiteral("address"));
    const QCommandLineOption searchPage(QStringLiteral("search-page"),
                                        QStringLiteral("The page of the Search button."),
                                        QStringLiteral("address"));
    parser.addOptions({transientFor, homePage, searchPage});
    parser.addPositionalArgument(QStringLiteral("address"), QStringLiteral("The start page."));
    parser.process(app);

    auto *component = new WebEngineBrowser;
    component->setHomePage(
        setting(parser, homePage, "MITOON_BROWSER_HOME", WebEngineBrowser::kDefaultHomePage));
    component->setSearchPage(
        setting(parser, searchPage, "MITOON_BROWSER_SEARCH", WebEngineBrowser::kDefaultSearchPage));

    // Closing the window deletes it, and with it the page, before the web engine shuts down.
    // A window kept above another is no primary window, so the program ends with it here.
    auto *window = new frmBrowser(component, parser.positionalArguments().value(0));
    QObject::connect(window, &QObject::destroyed, &app, &QCoreApplication::quit);
    const WId owner = parser.value(transientFor).toULongLong();
    if (owner != 0 && QGuiApplication::platformName() == QLatin1String("xcb"))
        new TransientOwner(window, owner);
    window->Form_Load();
    return app.exec();
}
