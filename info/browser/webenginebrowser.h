#pragma once

#include "info/browser/webbrowsercontrol.h"

class QTimer;
class QWebEngineView;

namespace mitoon {

// The browser window's component on Qt WebEngine. Its home and search pages are its own
// settings: by default a blank page and a web search.
class WebEngineBrowser : public WebBrowserControl
{
    Q_OBJECT
public:
    static inline const QString kDefaultHomePage = QStringLiteral("about:blank");
    static inline const QString kDefaultSearchPage = QStringLiteral("https://duckduckgo.com/");

    explicit WebEngineBrowser(QWidget *parent = nullptr);

    void setHomePage(const QString &address) { homePage_ = address; }
    void setSearchPage(const QString &address) { searchPage_ = address; }

    QWebEngineView *view() const { return view_; }

    bool Navigate(const QString &address) override;
    bool GoBack() override;
    bool GoForward() override;
    bool GoHome() override;
    bool GoSearch() override;
    bool Refresh() override;
    bool Stop() override;
    std::optional<QString> LocationName() const override;
    std::optional<QString> LocationURL() const override;
    std::optional<bool> Busy() const override;

private:
    void expectLoad();

    QWebEngineView *view_ = nullptr;
    QString homePage_ = kDefaultHomePage;
    QString searchPage_ = kDefaultSearchPage;
    bool loading_ = false;
    // A load was asked for and the engine has not yet said it started. A navigation within
    // the same page never starts a load, so the wait ends after a while in any case.
    bool expecting_ = false;
    QTimer *expectation_ = nullptr;
};

} // namespace mitoon
