#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <limits>

// The lines of the record file. Every line is written with the same rule: fields separated by
// commas, texts in double quotation marks, dates between number signs, empty fields as
// nothing, CR LF at the end; the file is Shift-JIS.
namespace mitoon::recordformat {

// Gives the moment a record is saved; tests fix it.
using Clock = std::function<QDateTime()>;
Clock systemClock();

// The header text: 29 characters, a clear writes it as the file's only line.
QString headerText();
// `"    日   付       時   刻   左目 右目"` CR LF: 41 bytes.
QByteArray headerLine();

// `#2006-06-09#,"14:03:27","0.8","1.2"` CR LF. An eye that has not been measured has an empty
// result and leaves its field empty. A character without a Shift-JIS code becomes '?'.
QByteArray recordLine(const QDateTime &savedAt, const QString &hidarikekka,
                      const QString &migikekka);

// Splits a file's text into lines as it arrives in parts. A line ends at CR or at CR LF, which
// are not part of it, also when CR and LF arrive in two parts; a lone LF stays inside its line.
// A last line without a line end is still a line. Given a longest length, a longer line comes
// out as several lines of that length and the rest, wherever the parts of the text end.
class LineSplitter
{
public:
    explicit LineSplitter(qsizetype longest = std::numeric_limits<qsizetype>::max());
    // Appends to `lines` every line that `text` completes.
    void feed(QStringView text, QStringList *lines);
    // The end of the text: appends its last line when that has no line end.
    void finish(QStringList *lines);

private:
    void extend(QStringView text, QStringList *lines);

    qsizetype longest_;
    QString partial_;
    bool afterCr_ = false;
};

// The lines of a whole text, as LineSplitter splits them.
QStringList splitLines(QStringView text);

// What the records window shows: every line followed by CR LF, the last one included.
QString displayText(const QStringList &lines);

} // namespace mitoon::recordformat
