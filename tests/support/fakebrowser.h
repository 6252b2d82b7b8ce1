#pragma once

#include "info/browser/webbrowsercontrol.h"

#include <QSet>
#include <QStringList>

namespace mitoon::testing {

// A browser component without a web engine: it records what the window asks of it and reports
// what the test sets. A member named in `failing` fails.
class FakeBrowser : public WebBrowserControl
{
    Q_OBJECT
public:
    using WebBrowserControl::WebBrowserControl;

    QStringList calls;
    QSet<QString> failing;
    bool busy = false;
    QString name;
    QString url;

    // The component has completed a navigation to `address`, whose name is `title`.
    void completeNavigation(const QString &address, const QString &title)
    {
        url = address;
        name = title;
        emit NavigateComplete2(this, address);
    }

    bool Navigate(const QString &address) override
    {
        return call(QStringLiteral("Navigate ") + address);
    }
    bool GoBack() override { return call(QStringLiteral("GoBack")); }
    bool GoForward() override { return call(QStringLiteral("GoForward")); }
    bool GoHome() override { return call(QStringLiteral("GoHome")); }
    bool GoSearch() override { return call(QStringLiteral("GoSearch")); }
    bool Refresh() override { return call(QStringLiteral("Refresh")); }
    bool Stop() override { return call(QStringLiteral("Stop")); }

    std::optional<QString> LocationName() const override
    {
        return fails(QStringLiteral("LocationName")) ? std::nullopt : std::optional(name);
    }
    std::optional<QString> LocationURL() const override
    {
        return fails(QStringLiteral("LocationURL")) ? std::nullopt : std::optional(url);
    }
    std::optional<bool> Busy() const override
    {
        return fails(QStringLiteral("Busy")) ? std::nullopt : std::optional(busy);
    }

private:
    bool fails(const QString &member) const { return failing.contains(member); }

    bool call(const QString &what)
    {
        calls << what;
        return !fails(what.section(u' ', 0, 0));
    }
};

} // namespace mitoon::testing
