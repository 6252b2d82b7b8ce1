#include "app/appinfo.h"
#include "info/frmAbout.h"
#include "info/sysinfolauncher.h"
#include "platform/changereportinglabel.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/loadedforms.h"
#include "support/aboutbox.h"
#include "support/layoutcheck.h"
#include "support/testmain.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace mitoon;

// The About box: its texts, looks and keys, and the system-information message.
class TestFrmAbout : public QObject
{
    Q_OBJECT

private:
    testing::AboutBoxFixture about;
    QPointer<frmAbout> &box = about.box;
    QLineEdit *&ownerState = about.ownerState;

    void openBox() { QVERIFY(about.openBox(true)); }

private slots:
    void initTestCase() { QVERIFY(about.setUp()); }

    void cleanup() { about.closeBox(); }
    void versionCaption_data()
    {
        QTest::addColumn<QList<int>>("version");
        QTest::addColumn<QString>("caption");
        QTest::newRow("this version") << QList<int>{1, 0, 15} << "ﾊﾞｰｼﾞｮﾝ 1.0.15";
        QTest::newRow("never zero-filled") << QList<int>{2, 10, 0} << "ﾊﾞｰｼﾞｮﾝ 2.10.0";
    }

    void versionCaption()
    {
        QFETCH(QList<int>, version);
        QFETCH(QString, caption);
        QCOMPARE(
            mitoon::versionCaption(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), version[0], version[1], version[2]),
            caption);
    }

    void loadFillsVersionAndTitle()
    {
        openBox();
        QCOMPARE(box->lblVersion->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.0.15"));
        QCOMPARE(box->lblTitle->text(), QStringLiteral("ミトーン"));
    }

    void titleAlwaysShowsTheProductName()
    {
        openBox();
        QSignalSpy changes(box->lblTitle, &ChangeReportingLabel::changed);
        box->lblTitle->setText(QStringLiteral("別の名前"));
        QCOMPARE(box->lblTitle->text(), QStringLiteral("ミトーン"));
        QCOMPARE(changes.count(), 2);
    }

    void texts()
    {
        openBox();
        QCOMPARE(box->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(box->cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(box->cmdSysInfo->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
        QCOMPARE(box->lblDescription->text(), QStringLiteral("-警告-"));
        QCOMPARE(box->Label1->text(), warningNotice());
        QVERIFY(box->Label1->text().startsWith(QString(33, QChar(0x3000))));
        QVERIFY(box->Label1->text().at(33) != QChar(0x3000));
        QVERIFY(box->Label1->wordWrap());
        QCOMPARE(box->Label2->text(), QStringLiteral("Mail = info@example"));
        QCOMPARE(box->Label3->text(), QStringLiteral("URL ="));
        QCOMPARE(box->Command1->text(), QStringLiteral("https://mitoon.example/"));
        QCOMPARE(box->lblDisclaimer->text(), author());
    }

    void layout()
    {
        openBox();
        QCOMPARE(box->size(), QSize(391, 235));
        QCOMPARE(box->minimumSize(), box->maximumSize());
        QCOMPARE(box->cmdOK->geometry(), QRect(283, 175, 98, 23));
        QCOMPARE(box->cmdSysInfo->geometry(), QRect(284, 205, 97, 23));
        QCOMPARE(box->picIcon->geometry(), QRect(8, 8, 97, 79));
        QCOMPARE(box->lblTitle->geometry(), QRect(128, 16, 153, 32));
        QCOMPARE(box->Label1->geometry(), QRect(112, 80, 273, 73));
        // The web-address button covers the right part of "URL =".
        QCOMPARE(box->Command1->geometry(), QRect(112, 184, 153, 17));
        QCOMPARE(box->childAt(box->Command1->geometry().center()), box->Command1);
        QVERIFY(box->Command1->geometry().intersects(box->Label3->geometry()));
        QVERIFY(box->cmdOK->isDefault());

        // Every control as the layout has it once the box is loaded, and the tab order.
        using enum formlayout::Kind;
        using fonts::kGothic;
        using formlayout::Border;
        const formlayout::Font normal{fonts::kPGothic, 9};
        const Qt::Alignment topLeftAligned = Qt::AlignLeft | Qt::AlignTop;
        const formlayout::Look topLeft{.alignment = topLeftAligned};
        const formlayout::Look black{.alignment = topLeftAligned, .textColor = Qt::black};
        const formlayout::Look green{.alignment = topLeftAligned, .textColor = QColor(0, 192, 0)};
        const formlayout::Look greyPanel{.background = QColor(192, 192, 192),
                                         .border = Border::sunken};
        // clang-format off
        const formlayout::Row expected[] = {
            // name            kind            text                       left, top, width, height  font                 tab
            {"cmdOK",          button,         "OK",                      {4245, 2625, 1467,  345}, normal,              0,  {.defaultButton = true}},
            {"cmdSysInfo",     button,         "ｼｽﾃﾑ情報(&S)...",         {4260, 3075, 1452,  345}, normal,              1},
            {"picIcon",        picture,        ":/assets/ring1.png",      { 120,  120, 1455, 1185}, normal,              2,  greyPanel},
            {"lblDisclaimer",  label,          author(),                  {1200, 2520, 1455,  225}, normal,              3,  black},
            {"lblVersion",     label,          "ﾊﾞｰｼﾞｮﾝ 1.0.15",          {4320,  360, 1335,  225}, normal,              4,  topLeft},
            {"lblTitle",       changeReportingLabel, "ミトーン",                {1920,  240, 2295,  480}, {kGothic, 18, true}, 5,  green},
            {"lblDescription", label,          "-警告-",                  {1680,  960,  615,  210}, normal,              6,  black},
            {"Label1",         wrappingLabel,   warningNotice(),           {1680, 1200, 4095, 1095}, normal,              7},
            {"Label2",         label,          "Mail = info@example",     {1200, 3000, 1815,  255}, normal,              8,  topLeft},
            {"Label3",         label,          "URL =",                   {1200, 2760, 2775,  255}, normal,              9,  topLeft},
            {"Command1",       button,         "https://mitoon.example/", {1680, 2760, 2295,  255}, normal,              10},
            {{"Line1", 1},     frame,          {},                        { 225, 2430, 5432,   15}, normal,              -1, {.background = QColor(128, 128, 128)}},
            {{"Line1", 0},     frame,          {},                        { 240, 2445, 5417,   30}, normal,              -1, {.background = Qt::white}},

        };
        // clang-format on
        const QStringList differences = testing::layoutMismatches(box, expected);
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
    }

    void looks()
    {
        openBox();
        QCOMPARE(box->lblTitle->palette().color(QPalette::WindowText), QColor(0, 192, 0));
        QCOMPARE(box->lblTitle->font().family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(box->lblTitle->font().pointSizeF(), 18.0);
        QVERIFY(box->lblTitle->font().bold());
        QCOMPARE(box->picIcon->pixmap().size(), QSize(93, 75));

        const QImage image = box->grab().toImage();
        // Etched separator: a grey line with a white one below it.
        QCOMPARE(image.pixelColor(200, 162), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(200, 163), QColor(Qt::white));
        QCOMPARE(image.pixelColor(200, 164), QColor(Qt::white));
        QVERIFY(box->picIcon->autoFillBackground());
        QCOMPARE(box->picIcon->palette().color(QPalette::Window), QColor(192, 192, 192));
    }

    void tabOrderAndFocus()
    {
        openBox();
        QCOMPARE(QApplication::focusWidget(), box->cmdOK);
        for (QWidget *next : {box->cmdSysInfo, box->Command1, box->cmdOK}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void enterAndEscClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Esc on OK") << int(Qt::Key_Escape) << "cmdOK";
        QTest::newRow("Esc on system information") << int(Qt::Key_Escape) << "cmdSysInfo";
        QTest::newRow("Esc on the web address") << int(Qt::Key_Escape) << "Command1";
        QTest::newRow("Enter on OK") << int(Qt::Key_Return) << "cmdOK";
        QTest::newRow("keypad Enter on OK") << int(Qt::Key_Enter) << "cmdOK";
    }

    void enterAndEscClose()
    {
        QFETCH(int, key);
        QFETCH(QString, focus);
        openBox();
        const QHash<QString, QPushButton *> buttons{
            {"cmdOK", box->cmdOK}, {"cmdSysInfo", box->cmdSysInfo}, {"Command1", box->Command1}};
        QPushButton *button = buttons.value(focus);
        button->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!box);
    }

    void sysInfoWithoutToolSaysSo()
    {
        openBox();
        // No desktop system-information program either.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(about.folder.path()));
        QString text, title;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::Critical;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
            auto *message = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            text = message->text();
            title = message->windowTitle();
            buttons = message->standardButtons();
            icon = message->icon();
            QTest::keyClick(message, Qt::Key_Return);
        });
        // Enter on a focused button presses that button, not OK.
        box->cmdSysInfo->setFocus();
        QTest::keyClick(box->cmdSysInfo, Qt::Key_Return);
        qputenv("PATH", path);
        QCOMPARE(text, SysInfoLauncher::kUnavailableMessage);
        QCOMPARE(title, appTitle());
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QVERIFY(box && box->isVisible());
    }

    void showModalOverTheOwnerKeepsItsState()
    {
        const int loaded = LoadedForms::count();
        QPointer<frmAbout> shown;
        bool modal = false;
        QPoint offCentre;
        QTimer::singleShot(0, this, [&] {
            shown = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
            if (!shown)
                return;
            modal = shown->isModal() && shown->parentWidget() == about.owner.get() &&
                    LoadedForms::count() == loaded + 1;
            offCentre = shown->geometry().center() - shown->screen()->geometry().center();
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        frmAbout::showModal(about.owner.get());
        QVERIFY(modal);
        // Centred with its frame, whose size the window system decides.
        QVERIFY(offCentre.manhattanLength() <= 8);
        QTRY_VERIFY(!shown);
        QCOMPARE(LoadedForms::count(), loaded);
        QCOMPARE(ownerState->text(), QStringLiteral("右眼 1.2"));
    }
};

MITOON_TEST_MAIN(TestFrmAbout)
#include "test_frmabout.moc"
