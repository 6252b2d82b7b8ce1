#include "app/Module1.h"
#include "app/appinfo.h"
#include "app/frmSplash.h"
#include "platform/changereportinglabel.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/twips.h"
#include "platform/wrappinglabel.h"
#include "support/isolatedhome.h"
#include "support/layoutcheck.h"
#include "support/testmain.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

using namespace mitoon;

class TestSplash : public QObject
{
    Q_OBJECT
private slots:

    void texts()
    {
        frmSplash splash;
        QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 1.0.15"));
        QCOMPARE(splash.lblProductName->text(), QStringLiteral("ミトーン"));
        QCOMPARE(splash.lblDescription->text(), QStringLiteral("-警告-"));
        QVERIFY(splash.Label1->text().startsWith(QString(33, QChar(0x3000))));
        QVERIFY(!splash.Label1->text().startsWith(QString(34, QChar(0x3000))));
        QVERIFY(splash.lblCompany->text().startsWith(QStringLiteral("URL ") + webAddress()));
        QCOMPARE(versionCaption(QStringLiteral("Version"), 2, 10, 0),
                 QStringLiteral("Version 2.10.0"));
    }

    void copyrightNamesTheYearAndTheAuthor()
    {
        frmSplash splash;
        QVERIFY(splash.lblCopyright->text().contains(
            QRegularExpression(QStringLiteral("\\b20\\d\\d\\b"))));
        QVERIFY(splash.lblCopyright->text().contains(author()));
    }

    void noticeWrapsItsOpeningSpaces()
    {
        frmSplash splash;
        const QRect area = splash.Label1->contentsRect();
        const QStringList lines =
            WrappingLabel::wrap(splash.Label1->text(), splash.Label1->font(), area.width());
        QVERIFY(lines.size() >= 3);
        // The opening spaces wrap like any full-width character and push the first words into
        // the second half of a line.
        QVERIFY(lines.join(QString()) == splash.Label1->text());
        const QString &opening = *std::find_if(
            lines.begin(), lines.end(), [](const QString &l) { return !l.trimmed().isEmpty(); });
        const qsizetype spaces =
            opening.indexOf(QRegularExpression(QStringLiteral("[^\\x{3000}]")));
        QVERIFY(spaces > 0);
        QVERIFY(QFontMetricsF(splash.Label1->font()).horizontalAdvance(opening.left(spaces)) >=
                area.width() / 2.0 - 12);
    }

    void productNameResetsWhateverIsAssigned()
    {
        frmSplash splash;
        int changes = 0;
        connect(splash.lblProductName, &ChangeReportingLabel::changed, this, [&] { ++changes; });
        splash.lblProductName->setText(QStringLiteral("Other title"));
        QCOMPARE(splash.lblProductName->text(), QStringLiteral("ミトーン"));
        QCOMPARE(changes, 2); // the assignment and the reset, and no more
    }

    void windowIsCentredWithoutTitleBar()
    {
        frmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY((splash.geometry().center() - screen.center()).manhattanLength() <= 2);
        // 7455 × 4605 twips of client area inside a two-pixel frame.
        QCOMPARE(splash.size(), QSize(497 + 4, 307 + 4));
        // The logo is the gap-up ring.
        QCOMPARE(
            splash.picLogo->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
            QImage(QStringLiteral(":/assets/ring1.png")).convertToFormat(QImage::Format_RGB32));
    }

    // The controls within their frame; the product name and the version are sized to their
    // texts from the top-left and the right edge of their places.
    void layout()
    {
        frmSplash splash;
        using enum formlayout::Kind;
        using fonts::kPGothic;
        using formlayout::Border;
        const formlayout::Font normal{kPGothic, 9};
        // clang-format off
        const formlayout::Row expected[] = {
            // name            kind          text                           left, top, width, height  font              tab
            {"fraMainFrame",   frame,        {},                            {  45,  -15, 7380, 4590}, normal,           -1, {.border = Border::etched}},
            {"picLogo",        picture,      ":/assets/ring1.png",          { 600,  360, 1395, 1185}, normal,           -1, {.border = Border::line}},
            {"lblCopyright",   label,        copyrightNotice(),             {2640, 2160, 2415,  255}, {kPGothic, 8.25}, -1},
            {"lblCompany",     label,        "URL https://mitoon.example/", {2640, 2520, 2415,  255}, {kPGothic, 8.25}, -1},
            {"lblDescription", label,        "-警告-",                      {1680, 2880,  615,  210}, normal,           -1, {.textColor = Qt::black}},
            {"Label1",         wrappingLabel, warningNotice(),               {1680, 3120, 4095, 1095}, normal,           -1},

        };
        // clang-format on
        const QStringList differences = testing::layoutMismatches(&splash, expected);
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
        QCOMPARE(splash.lblProductName->pos(), twips::rect(2520, 840, 0, 0).topLeft());
        QCOMPARE(splash.lblVersion->geometry().right(), twips::rect(6540, 1920, 90, 0).right());
        QCOMPARE(splash.lblVersion->y(), twips::rect(6540, 1920, 90, 0).y());
    }

    void busyWaitCountsItsPasses()
    {
        // Every pass goes through the volatile counter, which the optimiser must keep: the count
        // read back from it is the number of passes made, 0 to `last` inclusive.
        QCOMPARE(Module1::busyWait(2'000'000), 2'000'001L);
        QCOMPARE(Module1::busyWait(0), 1L);
        QCOMPARE(Module1::busyWait(Module1::kBusyWaitLast), 30'000'001L);
    }
};

MITOON_TEST_MAIN(TestSplash)

#include "test_splash.moc"
