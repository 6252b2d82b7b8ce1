#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

class QPlainTextEdit;

namespace mitoon {

// Puts a long list of lines into a plain-text box without freezing the window. The first lines
// go in at once, so the box shows the top of the text straight away; the rest follow in chunks
// from the event loop. A text document builds one block per line at about 2 µs each, which for
// a record file of 100,000 lines would otherwise block the window for a quarter of a second.
// Each line is followed by CR LF in the box, as the records window shows them.
class ProgressiveLoader : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFirstLines = 30;
    static constexpr int kChunkLines = 4000;

    explicit ProgressiveLoader(QPlainTextEdit *box);

    // Replaces the box's text with the lines of `text` (they end at CR or CR LF); a load still
    // going on is dropped. The lines are split off as they go in.
    void load(const QString &text);
    void load(const QStringList &lines);
    // Replaces the box's text with `text` at once.
    void show(const QString &text);
    // Puts the rest of the lines in now, so the box holds the whole text.
    void finish();
    bool loading() const { return next_ < text_.size(); }

signals:
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void appendChunk(int lines);
    // The next `lines` lines of the text, each followed by CR LF.
    QString takeLines(int lines);

    QPlainTextEdit *box_;
    QString text_;
    qsizetype next_ = 0;
    QTimer timer_;
};

} // namespace mitoon
