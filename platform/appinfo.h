#pragma once

#include <QString>

// Who we are: the texts every window that introduces the program shows.
namespace mitoon {

// The application title; the settings store files the window geometry under it.
inline QString appTitle()
{
    return QStringLiteral("ミトーン");
}
// The product name the splash screen and the About box always show.
inline QString productName()
{
    return QStringLiteral("ミトーン");
}
inline QString webAddress()
{
    return QStringLiteral("https://mitoon.example.org/");
}
inline QString mailAddress()
{
    return QStringLiteral("mitoon@example.org");
}
inline QString author()
{
    return QStringLiteral("ミトーン開発チーム");
}

// "1.0.15": major, minor and revision in plain decimal, never zero-filled.
QString versionText(int major, int minor, int revision);
QString versionText();

QString copyrightNotice();

// The warning notice of the splash screen and the About box. It opens with 33 ideographic
// spaces, which push its first words to the second half of the first wrapped line.
QString warningNotice();

} // namespace mitoon
