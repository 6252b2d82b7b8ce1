#include "info/browserprocess.h"

#include "app/appinfo.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

namespace mitoon {

QString BrowserProcess::program()
{
    const QString override = qEnvironmentVariable("MITOON_BROWSER_PROGRAM");
    if (!override.isEmpty())
        return override;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/mitoon-browser");
}

QString BrowserProcess::failedToStartMessage(const QString &program)
{
    const QString reason = QFileInfo::exists(program) ? QStringLiteral("を起動できませんでした。")
                                                      : QStringLiteral("が見つかりません。");
    return QStringLiteral("Web ブラウザーを開けません。\nプログラム %1 %2").arg(program, reason);
}

QString BrowserProcess::startAddress()
{
    const QString override = qEnvironmentVariable("MITOON_START_ADDRESS");
    return override.isEmpty() ? webAddress() : override;
}

QStringList BrowserProcess::arguments(const QString &address, unsigned long long transientFor)
{
    QStringList arguments;
    if (transientFor != 0)
        arguments << QStringLiteral("--transient-for") << QString::number(transientFor);
    // "--" keeps an address that starts with a dash from being read as an option.
    arguments << QStringLiteral("--") << address;
    return arguments;
}

BrowserProcess::Outcome BrowserProcess::run(const QString &address, unsigned long long transientFor)
{
    QProcess process;
    // The browser's messages go where the program's go; a pipe nobody reads would stall it.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);

    QEventLoop loop;
    bool ended = false;
    auto end = [&] {
        ended = true;
        loop.quit();
    };
    QObject::connect(&process, &QProcess::finished, &loop, end);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            end();
    });

    process.start(program(), arguments(address, transientFor));
    // A start can fail before the loop runs; quitting a loop that is not running does nothing.
    if (!ended && process.state() != QProcess::NotRunning)
        loop.exec();

    if (process.error() == QProcess::FailedToStart)
        return Outcome::FailedToStart;
    return process.exitStatus() == QProcess::NormalExit ? Outcome::Closed : Outcome::Crashed;
}

} // namespace mitoon
