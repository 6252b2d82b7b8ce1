#include "app/displayguard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace mitoon {

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

QList<HeldMessage> &held()
{
    static QList<HeldMessage> messages;
    return messages;
}

void holdOrEnd(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fputs(DisplayGuard::message(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    held().append({type, QByteArray(context.category), text});
}

} // namespace

DisplayGuard::DisplayGuard() : previous_(qInstallMessageHandler(holdOrEnd)), armed_(true) {}

DisplayGuard::~DisplayGuard()
{
    release();
}

void DisplayGuard::release()
{
    if (!armed_)
        return;
    armed_ = false;
    qInstallMessageHandler(previous_);
    const QList<HeldMessage> messages = std::exchange(held(), {});
    for (const HeldMessage &message : messages) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}

const char *DisplayGuard::message()
{
    return "ミトーン: 画面を表示できないため起動できません。"
           "グラフィック表示のディスプレイ (X11 の DISPLAY など) が必要です。\n";
}

} // namespace mitoon
