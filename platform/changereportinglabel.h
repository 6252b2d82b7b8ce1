#pragma once

#include <QLabel>

namespace mitoon {

// A label that reports each real change of its text, like the labels whose change handler
// puts the product name back. Setting the text it already shows reports nothing, so a handler
// that resets the text runs once.
class ChangeReportingLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    void setText(const QString &text)
    {
        if (text == QLabel::text())
            return;
        QLabel::setText(text);
        emit changed();
    }

signals:
    void changed();
};

} // namespace mitoon
