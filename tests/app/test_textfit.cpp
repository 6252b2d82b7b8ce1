#include "acuity/acuitytest.h"
#include "acuity/calibration.h"
#include "acuity/ringfit.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "app/settings.h"
#include "graph/frmGurafu.h"
#include "graph/graphseries.h"
#include "graph/recordseries.h"
#include "info/browser/frmBrowser.h"
#include "info/browserprocess.h"
#include "info/frmAbout.h"
#include "platform/fonts.h"
#include "platform/statusbar.h"
#include "precise/frmSeimitu.h"
#include "precise/preciserecords.h"
#include "records/frmHyouji.h"
#include "records/recordformat.h"
#include "screencheck/frmGamen.h"
#include "support/fakebrowser.h"
#include "support/isolatedhome.h"
#include "support/mainwindow.h"
#include "support/preciseruns.h"
#include "support/testmain.h"
#include "support/textfit.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QTest>

using namespace mitoon;

namespace {

// What a control shows: a label's, a button's or a box's text, the status bar's first panel.
// The parts of Qt's widgets that draw no text of the program's show none.
QString shown(const QWidget *widget)
{
    if (const auto *bar = qobject_cast<const StatusBar *>(widget))
        return bar->panelTexts().first();
    return testing::shownText(widget);
}

bool showsText(const QWidget *widget)
{
    return !shown(widget).isEmpty();
}

// Puts `text` into `widget` as the program does: a line edit then shows it from its start, the
// status bar as its message.
void put(QWidget *widget, const QString &text)
{
    if (auto *bar = qobject_cast<StatusBar *>(widget)) {
        bar->setSimpleText(text);
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        label->setText(text);
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        button->setText(text);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget)) {
        plain->setPlainText(text);
    }
    // A label in a layout takes the height its new text needs.
    for (int i = 0; i < 4; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// Every acuity the result can show, 0.1 to 2.0, as the test writes it.
QStringList acuityValues()
{
    QStringList values;
    for (int score = 0; score <= 190; score += 10)
        values << AcuityTest::acuityText(std::int16_t(score));
    return values;
}

// Everything the status bar says during a test: the eye, and why a ring does not fit.
QStringList statusTexts()
{
    QStringList texts = {QStringLiteral("左目測定中"), QStringLiteral("右目測定中")};
    FittingSetting none;
    texts << doesNotFitMessage(none);
    for (const int distance : kDistances) {
        texts << doesNotFitMessage({distance, std::nullopt});
        for (const int size : kDisplaySizes)
            texts << doesNotFitMessage({distance, size});
    }
    for (const int size : kDisplaySizes)
        texts << doesNotFitMessage({std::nullopt, size});
    return texts;
}

QString recordLine(const QString &hidari, const QString &migi)
{
    const QByteArray line =
        recordformat::recordLine(QDateTime(QDate(2026, 12, 28), QTime(23, 58, 59)), hidari, migi);
    return QString::fromLatin1(line.chopped(2));
}

recordseries::AcuityRecord record(double acuity)
{
    return {QDate(2026, 12, 28), QTime(23, 58, 59), acuity, acuity, 1};
}

} // namespace

// Every text the program puts into a control, in every window, shows whole: it fits the room
// the control gives its text, in the control's font. The fixed texts are those the windows show
// once open; the texts that change are put in as the program puts them.
class TestTextFit : public QObject
{
    Q_OBJECT

    QString settingsFile_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmSplash> splash_;
    QPointer<frmAbout> about_;
    QPointer<frmBrowser> browser_;
    QPointer<frmHyouji> records_;
    QPointer<frmGurafu> graph_;
    QPointer<frmGamen> check_;
    QPointer<frmSeimitu> precise_;

    QList<std::pair<const char *, QWidget *>> windows() const
    {
        return {{"frmMain", main_.get()}, {"frmSplash", splash_.get()}, {"frmAbout", about_},
                {"frmBrowser", browser_}, {"frmHyouji", records_},      {"frmGurafu", graph_},
                {"frmGamen", check_},     {"frmSeimitu", precise_}};
    }

    // Opens every window of the program once, side by side.
    void openWindows()
    {
        if (main_)
            return;
        settingsFile_ = testing::temporarySettingsFile("textfit");
        settings_ = std::make_unique<Settings>(settingsFile_);
        main_ = testing::loadedMainWindow(*settings_);
        main_->show();
        splash_ = std::make_unique<frmSplash>();
        splash_->show();
        about_ = new frmAbout(main_.get());
        about_->show();
        browser_ = new frmBrowser(new testing::FakeBrowser, BrowserProcess::startAddress());
        browser_->Form_Load();
        records_ = frmHyouji::instance();
        records_->show();
        graph_ = frmGurafu::open(main_.get());
        check_ = frmGamen::showFor(main_.get(), main_->test(), *settings_);
        precise_ = frmSeimitu::showFor(main_.get(), main_->test(), *settings_, 300);
    }

    static void addRow(const char *window, QWidget *control, const QString &text)
    {
        const QString name = control->objectName().isEmpty()
                                 ? QString::fromLatin1(control->metaObject()->className())
                                 : control->objectName();
        const QString shortText = text.size() > 40 ? text.left(39) + u'…' : text;
        QTest::addRow("%s %s \"%s\"", window, qPrintable(name), qPrintable(shortText))
            << control << text;
    }

private slots:
    void initTestCase()
    {
        openWindows();
        for (const auto &[name, window] : windows())
            QVERIFY2(window && QTest::qWaitForWindowExposed(window), name);
    }

    void cleanupTestCase()
    {
        for (QWidget *window : {static_cast<QWidget *>(about_), static_cast<QWidget *>(browser_),
                                static_cast<QWidget *>(records_), static_cast<QWidget *>(graph_),
                                static_cast<QWidget *>(precise_)})
            delete window;
        main_.reset();
        splash_.reset();
        QFile::remove(settingsFile_);
    }

    void everyTextFitsItsControl_data()
    {
        QTest::addColumn<QWidget *>("control");
        QTest::addColumn<QString>("text");
        openWindows();
        // The texts the windows show once open: captions, labels, buttons, the boxes' texts.
        // 精密測定 shows its set-up: the controls of its other pages are laid out when shown.
        for (const auto &[name, window] : windows())
            for (QWidget *control : window->findChildren<QWidget *>())
                if (control->window() == window && showsText(control) &&
                    (window != precise_ || control->isVisibleTo(window)))
                    addRow(name, control, shown(control));

        // The result sentence for each eye and every acuity, the count of wrong answers.
        for (const QString &value : acuityValues())
            addRow("frmMain", main_->siryokuhyouji, value);
        addRow("frmMain", main_->kekka, QStringLiteral("あなたの左目の視力は"));
        addRow("frmMain", main_->kekka, QStringLiteral("あなたの右目の視力は"));
        addRow("frmMain", main_->kekkadesu, QStringLiteral("です"));
        addRow("frmMain", main_->matigaikoumoku, QStringLiteral("間違い"));
        for (const char *count : {"0", "1", "2"})
            addRow("frmMain", main_->matigaihyouji, QString::fromLatin1(count));
        // Every item of the two lists, as a pick puts it into its box.
        for (QComboBox *box : {main_->inti, main_->cm})
            for (int i = 0; i < box->count(); ++i)
                addRow("frmMain", box->lineEdit(), box->itemText(i));
        for (const QString &text : statusTexts())
            addRow("frmMain", main_->Bar, text);

        // A record line holds one line of the records box, whatever the two values.
        addRow("frmHyouji", records_->Text, recordformat::headerText());
        for (const QString &value : acuityValues())
            addRow("frmHyouji", records_->Text, recordLine(value, value));

        // The graph's line about a point, for every value and both eyes.
        for (const QString &value : acuityValues())
            for (const auto eye : {recordseries::Eye::Hidari, recordseries::Eye::Migi})
                addRow("frmGurafu", graph_->lblTen,
                       recordseries::pointText(record(value.toDouble()), eye));
        // The count of records, with lines skipped for every reason.
        const QStringList lines = {recordformat::headerText(),
                                   recordLine("0.1", "2"),
                                   QString(),
                                   QStringLiteral("?"),
                                   QStringLiteral("#2026-12-28#,\"1\""),
                                   QStringLiteral("#2026-13-28#,\"23:58:59\",\"1\",\"1\""),
                                   QStringLiteral("#2026-12-28#,\"25:58:59\",\"1\",\"1\""),
                                   QStringLiteral("#2026-12-28#,\"23:58:59\",\"x\",\"1\""),
                                   QStringLiteral("#2026-12-28#,\"23:58:59\",\"1\",\"x\"")};
        addRow("frmGurafu", graph_->lblKiroku,
               recordseries::summaryText(recordseries::parse(lines)));

        // The line about a run of 精密測定 at its longest: a range limit, figures with minus
        // signs, an uncalibrated screen; and the count of runs with damaged lines beside the
        // records'.
        const precise::StoredRun run = testing::storedRun(
            QDateTime(QDate(2026, 12, 28), QTime(23, 58, 59)), precise::Eye::Right, -0.28, -0.28,
            -0.15, precise::RangeLimit::Finest, true);
        addRow("frmGurafu", graph_->lblTen, precisePointText(run));
        precise::RunsRead read;
        read.runs.runs = {run, run};
        read.runs.skipped = 12;
        addRow("frmGurafu", graph_->lblKiroku,
               recordseries::summaryText(recordseries::parse(lines)) + preciseSummaryText(read));
    }

    void everyTextFitsItsControl()
    {
        QFETCH(QWidget *, control);
        QFETCH(QString, text);
        put(control, text);
        QCOMPARE(shown(control), text);
        const testing::TextFit fit = testing::textFit(control, text, control->font());
        QVERIFY2(fit.fits(), fit.describe());
    }
};

MITOON_TEST_MAIN(TestTextFit)

#include "test_textfit.moc"
