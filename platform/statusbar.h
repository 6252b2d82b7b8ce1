#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace mitoon {

// Our stand-in for the common-controls status bar: a text panel, a date panel and a time panel
// kept current by the bar itself, and a single-text message. While the message is set it takes
// the place of the first panel; the date and time panels stay.
//
// QStatusBar with permanent widgets and showMessage() looks different: in the Fusion style it
// frames none of its items, draws the message unframed 6 pixels in and sets its widgets 2
// pixels in and 3 down with gaps between them, so about a quarter of the bar's pixels differ
// (test_standins checks the frames and the text places that it lacks).
class StatusBar : public QWidget
{
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    void setPanelText(const QString &text);
    void setSimpleText(const QString &text);

    // What the three panels show now, left to right.
    QStringList panelTexts() const;
    // Their widths in pixels: the first takes what the others leave, each at least one inch.
    QList<int> panelWidths() const;
    // Where panel `panel` (0 to 2) draws its text: inside its frame and padding.
    QRect textRect(int panel) const;

    // "2006/06/09" and "0:05".
    static QString dateText(const QDateTime &now);
    static QString timeText(const QDateTime &now);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void tick();
    // The sunken frame of a panel that starts at `x` and takes `width` pixels.
    QRect panelFrame(int x, int width) const;

    QString panelText_;
    QString simpleText_;
    QString date_;
    QString time_;
    QTimer timer_;
};

} // namespace mitoon
