#include "info/browser/webenginebrowser.h"

#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace mitoon {

namespace {
constexpr int kExpectationMs = 3000;
} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget *parent) : WebBrowserControl(parent)
{
    view_ = new QWebEngineView(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);

    expectation_ = new QTimer(this);
    expectation_->setSingleShot(true);
    expectation_->setInterval(kExpectationMs);
    connect(expectation_, &QTimer::timeout, this, [this] { expecting_ = false; });

    connect(view_, &QWebEngineView::loadStarted, this, [this] {
        loading_ = true;
        expecting_ = false;
    });
    connect(view_, &QWebEngineView::loadFinished, this, [this] {
        loading_ = false;
        expecting_ = false;
        emit DownloadComplete();
    });
    connect(view_, &QWebEngineView::urlChanged, this, [this](const QUrl &url) {
        expecting_ = false;
        emit NavigateComplete2(view_->page(), url.toString());
    });
}

void WebEngineBrowser::expectLoad()
{
    expecting_ = true;
    expectation_->start();
}

bool WebEngineBrowser::Navigate(const QString &address)
{
    // An address typed without a scheme ("example.org") is a web address.
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (address.trimmed().isEmpty() || !url.isValid())
        return false;
    expectLoad();
    view_->load(url);
    return true;
}

bool WebEngineBrowser::GoBack()
{
    if (!view_->history()->canGoBack())
        return false;
    expectLoad();
    view_->back();
    return true;
}

bool WebEngineBrowser::GoForward()
{
    if (!view_->history()->canGoForward())
        return false;
    expectLoad();
    view_->forward();
    return true;
}

bool WebEngineBrowser::GoHome()
{
    return Navigate(homePage_);
}

bool WebEngineBrowser::GoSearch()
{
    return Navigate(searchPage_);
}

bool WebEngineBrowser::Refresh()
{
    expectLoad();
    view_->reload();
    return true;
}

bool WebEngineBrowser::Stop()
{
    view_->stop();
    loading_ = false;
    expecting_ = false;
    expectation_->stop();
    return true;
}

std::optional<QString> WebEngineBrowser::LocationName() const
{
    const QString title = view_->title();
    return title.isEmpty() ? view_->url().toDisplayString() : title;
}

std::optional<QString> WebEngineBrowser::LocationURL() const
{
    return view_->url().toString();
}

std::optional<bool> WebEngineBrowser::Busy() const
{
    return loading_ || expecting_;
}

} // namespace mitoon
