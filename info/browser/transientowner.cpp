#include "info/browser/transientowner.h"

#include <QEvent>
#include <QWidget>

namespace mitoon {

TransientOwner::TransientOwner(QWidget *window, WId owner)
    : QObject(window), window_(window), owner_(QWindow::fromWinId(owner))
{
    // X11 keeps only dialog windows above the window they are transient for; the frame stays
    // sizable, with its minimize and maximize buttons.
    window_->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    window_->installEventFilter(this);
    window_->winId();
    apply();
}

void TransientOwner::apply()
{
    if (owner_ && window_->windowHandle() &&
        window_->windowHandle()->transientParent() != owner_.get())
        window_->windowHandle()->setTransientParent(owner_.get());
}

bool TransientOwner::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_ &&
        (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show))
        apply();
    return QObject::eventFilter(watched, event);
}

} // namespace mitoon
