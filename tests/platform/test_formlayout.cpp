// Fixed layouts made from a table, and the check of a window against such a table: the check
// must see every kind of difference, or the window tests that rely on it would pass blindly.
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/systemcolor.h"
#include "platform/twips.h"
#include "support/layoutcheck.h"
#include "support/testmain.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace mitoon;

namespace {

// Rows out of tab order, with controls that Tab passes over between them.
const QList<formlayout::Row> &rows()
{
    using enum formlayout::Kind;
    using fonts::kPGothic;
    using formlayout::Border;
    // clang-format off
    static const QList<formlayout::Row> table = {
        // name          kind         text                  left, top, width, height  font                  tab
        {"later",        button,      "Later",              { 150,  150, 1200,  450}, {},                   3},
        {{"caption", 0}, label,       "Caption",            { 150,  750, 1200,  300}, {},                   0},
        {"flat",         flatTextBox, {},                   { 150, 1200,  600,  300}, {kPGothic, 8.25},     1, {.background = Qt::white}},
        {"first",        textBox,     "First",              {1500,  150, 1200,  300}, {},                   2},
        {"picture",      picture,     ":/assets/ring1.png", {1500,  600, 1455, 1185}, {},                   4, {.tabStop = true, .border = Border::sunken}},
        {"off",          button,      "Off",                {3000,  150,  900,  450}, {kPGothic, 12, true}, 5, {.disabled = true}},
    };
    // clang-format on
    return table;
}

} // namespace

class TestFormLayout : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> window_;
    formlayout::Controls controls_;

private slots:
    void init()
    {
        window_ = std::make_unique<QWidget>();
        window_->setFont(fonts::font(fonts::kPGothic, 9));
        controls_ = formlayout::create(rows(), window_.get(), formlayout::Fonts::plain);
    }

    void aMadeLayoutMatchesItsTable()
    {
        const QStringList differences = testing::layoutMismatches(window_.get(), rows());
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
        auto *caption = qobject_cast<QLabel *>(controls_.at("caption", 0));
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("Caption"));
        QCOMPARE(formlayout::index(caption), 0);
        QCOMPARE(formlayout::index(controls_.at("later")), -1);
        QCOMPARE(controls_.at("flat")->geometry(), QRect(10, 80, 40, 20));
    }

    // Tab goes by tab index and passes over labels, flat boxes and disabled buttons.
    void tabFollowsTheTabIndexes()
    {
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        controls_.at("first")->setFocus();
        QStringList visited;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"later", "picture", "first"}));
    }

    void theCheckSeesEachDifference_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("difference");
        const QStringList differences = {
            "later: the place is 10, 10, 81 × 30, not 10, 10, 80 × 30",
            "first: the text is Other, not First",
            "flat: the font is ＭＳ Ｐゴシック 9, not ＭＳ Ｐゴシック 8.25",
            "off: enabled is yes, not no",
            "later: hidden is yes, not no",
            "caption(0): missing",
            "flat: the focus is none, not click",
            "the tab order is first, picture, later, off, not first, later, picture, off",
            "flat: the background is #ff0000, not #ffffff",
            "picture: the picture is no, not yes",
            "picture: the border is style 17 of width 2, not sunken",
            "later: the default button is yes, not no",
            "first: the class is QLabel, not QLineEdit",
            "the tab order is first, later, picture, off, stray, not first, later, picture, off",
        };
        for (int fault = 0; fault < differences.size(); ++fault)
            QTest::newRow(qPrintable(differences[fault])) << fault << differences[fault];
    }

    void theCheckSeesEachDifference()
    {
        QFETCH(int, fault);
        QFETCH(QString, difference);
        QWidget *later = controls_.at("later");
        QWidget *first = controls_.at("first");
        QWidget *flat = controls_.at("flat");
        auto *picture = static_cast<QLabel *>(controls_.at("picture"));
        switch (fault) {
        case 0:
            later->resize(later->width() + 1, later->height());
            break;
        case 1:
            static_cast<QLineEdit *>(first)->setText(QStringLiteral("Other"));
            break;
        case 2:
            flat->setFont(window_->font());
            break;
        case 3:
            controls_.at("off")->setEnabled(true);
            break;
        case 4:
            later->hide();
            break;
        case 5:
            controls_.at("caption", 0)->setObjectName(QStringLiteral("renamed"));
            break;
        case 6:
            flat->setFocusPolicy(Qt::NoFocus);
            break;
        case 7:
            QWidget::setTabOrder(first, picture);
            break;
        case 8:
            setBackground(flat, Qt::red);
            break;
        case 9:
            picture->setPixmap(QPixmap(QStringLiteral(":/assets/ring2.png")));
            break;
        case 10:
            picture->setFrameStyle(QFrame::Box | QFrame::Plain);
            break;
        case 11:
            static_cast<QPushButton *>(later)->setDefault(true);
            break;
        case 12: {
            // Another class in the place of a control of the table.
            first->setObjectName(QString());
            first->setFocusPolicy(Qt::NoFocus);
            auto *label = new QLabel(QStringLiteral("First"), window_.get());
            label->setObjectName(QStringLiteral("first"));
            label->setFocusPolicy(Qt::StrongFocus);
            label->setGeometry(first->geometry());
            QWidget::setTabOrder(first, label);
            break;
        }
        case 13: {
            // A tab stop that the table lacks.
            auto *stray = new QPushButton(QStringLiteral("Stray"), window_.get());
            stray->setObjectName(QStringLiteral("stray"));
            QWidget::setTabOrder(controls_.at("off"), stray);
            break;
        }
        }
        const QStringList found = testing::layoutMismatches(window_.get(), rows());
        QVERIFY2(found == QStringList{difference}, qPrintable(found.join(u'\n')));
    }

    void fittingALabelKeepsItsAlignedEdge_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << int(Qt::AlignLeft | Qt::AlignVCenter);
        QTest::newRow("right") << int(Qt::AlignRight | Qt::AlignVCenter);
    }

    void fittingALabelKeepsItsAlignedEdge()
    {
        QFETCH(int, alignment);
        QLabel label(QStringLiteral("Version 1.0.15"));
        label.setAlignment(Qt::Alignment(alignment));
        label.setGeometry(200, 30, 6, 16);
        const QRect placed = label.geometry();
        formlayout::fitToText(&label);
        QCOMPARE(label.size(), label.sizeHint());
        QCOMPARE(label.y(), placed.y());
        if (alignment & Qt::AlignRight)
            QCOMPARE(label.geometry().right(), placed.right());
        else
            QCOMPARE(label.x(), placed.x());
    }
};

MITOON_TEST_MAIN(TestFormLayout)
#include "test_formlayout.moc"
