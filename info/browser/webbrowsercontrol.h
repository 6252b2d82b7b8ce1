#pragma once

#include <QString>
#include <QWidget>

#include <optional>

namespace mitoon {

// The web-browser component of the browser window: the page area and the members the window
// uses. A member that cannot do what it is asked (going back with no earlier page, say)
// returns false or no value; the window then skips that step.
class WebBrowserControl : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Starts loading `address` and returns at once.
    virtual bool Navigate(const QString &address) = 0;
    virtual bool GoBack() = 0;
    virtual bool GoForward() = 0;
    // The component's own home and search pages, whatever the window started on.
    virtual bool GoHome() = 0;
    virtual bool GoSearch() = 0;
    virtual bool Refresh() = 0;
    virtual bool Stop() = 0;

    // The name of what is shown: a page's title, a file's path.
    virtual std::optional<QString> LocationName() const = 0;
    // The full address of the current page.
    virtual std::optional<QString> LocationURL() const = 0;
    // True while the component is loading.
    virtual std::optional<bool> Busy() const = 0;

signals:
    // A download has finished.
    void DownloadComplete();
    // A navigation has completed: the frame's browser object and the address.
    void NavigateComplete2(QObject *pDisp, const QString &URL);
};

} // namespace mitoon
