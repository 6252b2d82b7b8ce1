// The fonts of the fixed layouts: which installed face stands in for each font the layouts
// name, and that the program's texts show in it on a machine without the IPA fonts.

#include "app/appinfo.h"
#include "platform/fonts.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>

#include <algorithm>

using namespace mitoon;

class TestFonts : public QObject
{
    Q_OBJECT

public:
    // The installed fonts less the IPA fonts, as on a machine that lacks them.
    static void initMain()
    {
        static QTemporaryDir config;
        QFile file(config.filePath(QStringLiteral("fonts.conf")));
        if (!config.isValid() || !file.open(QIODevice::WriteOnly))
            qFatal("no fontconfig file of the test's own");
        QByteArray rejected;
        for (const char *family : {"IPAGothic", "IPAPGothic", "IPAMincho", "IPAPMincho"})
            rejected += QByteArray("<pattern><patelt name=\"family\"><string>") + family +
                        "</string></patelt></pattern>\n";
        file.write("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                   "<fontconfig>\n<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n"
                   "<selectfont><rejectfont>\n" +
                   rejected + "</rejectfont></selectfont>\n</fontconfig>\n");
        file.close();
        qputenv("FONTCONFIG_FILE", QFile::encodeName(file.fileName()));
    }
private slots:
    void standIn_data()
    {
        QTest::addColumn<QStringList>("japanese");
        QTest::addColumn<QString>("pGothic");
        QTest::addColumn<QString>("gothic");
        QTest::addColumn<bool>("complete");
        QTest::newRow("IPA fonts")
            << QStringList{"Droid Sans Fallback", "IPAGothic", "IPAMincho", "IPAPGothic"}
            << "IPAPGothic"
            << "IPAGothic" << true;
        QTest::newRow("common Gothic fonts")
            << QStringList{"Droid Sans Fallback", "Noto Sans CJK JP", "Noto Sans Mono CJK JP"}
            << "Noto Sans CJK JP"
            << "Noto Sans Mono CJK JP" << true;
        QTest::newRow("one IPA font for both") << QStringList{"IPAGothic"} << "IPAGothic"
                                               << "IPAGothic" << true;
        QTest::newRow("a Gothic before a Mincho")
            << QStringList{"Aoyagi Mincho", "Droid Sans Fallback"} << "Droid Sans Fallback"
            << "Droid Sans Fallback" << false;
        QTest::newRow("a Mincho before nothing") << QStringList{"Aoyagi Mincho"} << "Aoyagi Mincho"
                                                 << "Aoyagi Mincho" << false;
        QTest::newRow("no Japanese face") << QStringList{} << "IPAPGothic"
                                          << "IPAGothic" << false;
    }

    void standIn()
    {
        QFETCH(QStringList, japanese);
        QFETCH(QString, pGothic);
        QFETCH(QString, gothic);
        QFETCH(bool, complete);
        QCOMPARE(fonts::standIn(fonts::kPGothic, japanese).family, pGothic);
        QCOMPARE(fonts::standIn(fonts::kGothic, japanese).family, gothic);
        // Registered again, a substitution replaces the last rather than queueing behind it.
        // Qt keeps substitutes in lower case.
        fonts::registerSubstitutions({QStringLiteral("Droid Sans Fallback")});
        fonts::registerSubstitutions(japanese);
        QCOMPARE(QFont::substitutes(fonts::kPGothic), QStringList{pGothic.toLower()});
        QCOMPARE(QFont::substitutes(fonts::kGothic), QStringList{gothic.toLower()});
        // Only complete fonts spare the fixed texts the fallback fonts.
        QCOMPARE(fonts::fixedFont(fonts::kPGothic, 9).styleStrategy() & QFont::NoFontMerging,
                 complete ? QFont::NoFontMerging : 0);
    }

    // This process sees the installed fonts less the IPA fonts (main()).
    void fixedTextsShowWholeWithoutTheIpaFonts()
    {
        QVERIFY(!QFontDatabase::hasFamily(QStringLiteral("IPAPGothic")));
        if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
            QSKIP("no Japanese font is installed besides the IPA fonts");
        fonts::registerSubstitutions();
        const QStringList texts = {productName(),
                                   warningNotice(),
                                   copyrightNotice(),
                                   QStringLiteral("URL ") + webAddress(),
                                   QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"),
                                   QStringLiteral("Version 1.0.15")};
        for (const QString &family : {fonts::kPGothic, fonts::kGothic}) {
            for (const QString &text : texts)
                QVERIFY2(showsWhole(fonts::fixedFont(family, 9), text),
                         qPrintable(family + QStringLiteral(": ") + text));
        }
    }

private:
    // Whether `font`, with its fallback fonts if it takes them, has a glyph for every character
    // of `text` laid out as a label lays it out: no empty boxes.
    static bool showsWhole(const QFont &font, const QString &text)
    {
        QTextLayout layout(text, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        return !runs.isEmpty() && std::none_of(runs.begin(), runs.end(), [](const QGlyphRun &run) {
            return run.glyphIndexes().contains(0);
        });
    }
};

MITOON_TEST_MAIN(TestFonts)

#include "test_fonts.moc"
