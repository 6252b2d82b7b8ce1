#pragma once

#include <QObject>
#include <QWindow>

#include <memory>

class QWidget;

namespace mitoon {

// Keeps a top-level widget transient for a window of another process (X11 window id), so that
// the window system keeps it above that window as it keeps an owned window above its owner.
// The widget's native window is made again when the page area first needs OpenGL; the owner
// is given to every new native window before it is shown.
class TransientOwner : public QObject
{
    Q_OBJECT
public:
    TransientOwner(QWidget *window, WId owner);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QWidget *window_;
    std::unique_ptr<QWindow> owner_;
};

} // namespace mitoon
