#pragma once

#include <QLabel>

namespace mitoon {

// A label for Japanese text that wraps the way the platform's text drawing does: a line may
// break between any two full-width characters, ideographic spaces included, and spaces do not
// hang at the end of a line. So the 33 ideographic spaces that open the warning notice push
// its first words into the next line instead of filling a line of their own.
//
// QTextOption::WrapAnywhere also breaks between any two characters, but it lets spaces hang
// past the end of a line and may start a line with closing punctuation: all 33 spaces then stay
// on the first line and the words start the second at its left edge, which changes a third of
// the notice's pixels (test_standins checks where the words start).
class WrappingLabel : public QLabel
{
    Q_OBJECT
public:
    explicit WrappingLabel(const QString &text, QWidget *parent = nullptr);

    // The text as it is broken into lines for `width` pixels in `font`.
    static QStringList wrap(const QString &text, const QFont &font, double width);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace mitoon
