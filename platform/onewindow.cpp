#include "platform/onewindow.h"

#include <QEvent>
#include <QTimer>

namespace mitoon {

void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

namespace onewindow {

namespace {

// A close that is accepted hides the window at once, before close() returns; one that is
// refused does not, and the next turn of the event loop forgets it.
class ClosingWatch : public QObject
{
public:
    ClosingWatch(QWidget *window, std::shared_ptr<bool> closed)
        : QObject(window), closed_(std::move(closed))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close) {
            closing_ = true;
            QTimer::singleShot(0, this, [this] { closing_ = false; });
        } else if (event->type() == QEvent::Hide && closing_ && !event->spontaneous()) {
            *closed_ = true;
        }
        return false;
    }

private:
    std::shared_ptr<bool> closed_;
    bool closing_ = false;
};

} // namespace

void watchClosing(QWidget *window, const std::shared_ptr<bool> &closed)
{
    new ClosingWatch(window, closed);
}

} // namespace onewindow

} // namespace mitoon
