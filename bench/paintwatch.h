#pragma once

#include <QEvent>
#include <QObject>

// Notes that a watched widget has received a paint event.
class PaintWatch : public QObject
{
    Q_OBJECT
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};
