#include "platform/statusbar.h"

#include "platform/twips.h"

#include <QDateTime>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace mitoon {

namespace {
const int kMinimumPanelWidth = twips::toPixelsRounded(1440);
const int kPanelPadding = 8;
} // namespace

StatusBar::StatusBar(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &StatusBar::tick);
    tick();
}

void StatusBar::setPanelText(const QString &text)
{
    panelText_ = text;
    update();
}

void StatusBar::setSimpleText(const QString &text)
{
    simpleText_ = text;
    update();
}

QString StatusBar::dateText(const QDateTime &now)
{
    return now.toString(QStringLiteral("yyyy/MM/dd"));
}

QString StatusBar::timeText(const QDateTime &now)
{
    return now.toString(QStringLiteral("H:mm"));
}

QStringList StatusBar::panelTexts() const
{
    return {simpleText_.isEmpty() ? panelText_ : simpleText_, date_, time_};
}

QList<int> StatusBar::panelWidths() const
{
    const QFontMetrics metrics = fontMetrics();
    const int dateWidth =
        qMax(kMinimumPanelWidth, metrics.horizontalAdvance(date_) + kPanelPadding);
    const int timeWidth =
        qMax(kMinimumPanelWidth, metrics.horizontalAdvance(time_) + kPanelPadding);
    const int first = qMax(kMinimumPanelWidth, width() - dateWidth - timeWidth);
    return {first, dateWidth, timeWidth};
}

QRect StatusBar::textRect(int panel) const
{
    const QList<int> widths = panelWidths();
    int x = 0;
    for (int i = 0; i < panel; ++i)
        x += widths[i];
    return panelFrame(x, widths[panel]).adjusted(kPanelPadding / 2, 0, -kPanelPadding / 2, 0);
}

QRect StatusBar::panelFrame(int x, int width) const
{
    return QRect(x, 1, width - 2, height() - 2);
}

void StatusBar::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    date_ = dateText(now);
    time_ = timeText(now);
    update();
    // Wake up just after the next full minute.
    const int msToNextMinute = 60000 - (now.time().second() * 1000 + now.time().msec()) + 50;
    timer_.start(msToNextMinute);
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const QStringList texts = panelTexts();
    const QList<int> widths = panelWidths();
    int x = 0;
    for (int i = 0; i < texts.size(); ++i) {
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.rect = panelFrame(x, widths[i]);
        frame.lineWidth = 1;
        frame.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(textRect(i), Qt::AlignVCenter | Qt::AlignLeft, texts[i]);
        x += widths[i];
    }
}

} // namespace mitoon
