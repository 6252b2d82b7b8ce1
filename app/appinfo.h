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
// The maker's web site and mail address, under the names reserved for examples. Both are short
// enough for the controls that show them: the About box's web button and "Mail = " label, and
// the splash screen's "URL " line.
inline QString webAddress()
{
    return QStringLiteral("https://mitoon.example/");
}
inline QString mailAddress()
{
    return QStringLiteral("info@example");
}
inline QString author()
{
    return QStringLiteral("ミトーン開発チーム");
}

// "1.0.15": major, minor and revision in plain decimal, never zero-filled.
QString versionText(int major, int minor, int revision);
QString versionText();

// The version as a label shows it, after `word`: "Version 1.0.15" on the splash screen,
// "ﾊﾞｰｼﾞｮﾝ 1.0.15" in the About box.
QString versionCaption(const QString &word, int major, int minor, int revision);
QString versionCaption(const QString &word);

// "(C) 2026 ミトーン開発チーム": the year and the author, on one line of the splash screen.
QString copyrightNotice();

// The warning notice of the splash screen and the About box. It opens with 33 ideographic
// spaces, which push its first words to the second half of the first wrapped line.
QString warningNotice();

} // namespace mitoon
