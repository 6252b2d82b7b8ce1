#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QPlainTextEdit;

namespace mitoon {

class RecordText;

// Puts the record file's text into a plain-text box without freezing the window. The first
// lines go in at once, so the box shows the top of the text straight away; the rest follow a
// piece per turn of the event loop. A text document builds one block per line at about 2 µs
// each, which for a record file of 100,000 lines would otherwise block the window for a
// quarter of a second, and reading and decoding a long file would take longer still.
// What arrives later is no edit of the user's: the user's cursor and selection stay where they
// are, and it stays out of the undo history. A text shown whole again and not edited since is
// not put in again: the box only goes back to its top, as a fresh load would show it.
class ProgressiveLoader : public QObject
{
    Q_OBJECT
public:
    // Shows `text` in `box`; the loader goes with the box.
    ProgressiveLoader(QPlainTextEdit *box, std::unique_ptr<RecordText> text);
    ~ProgressiveLoader() override;

    // Replaces the box's text with the text from its top; a load still going on is dropped. A
    // text that cannot be read shows the reason instead.
    void load();
    // Replaces the box's text with `text` at once.
    void show(const QString &text);
    // Puts the rest of the text in now, so the box holds the whole text.
    void finish();
    bool loading() const { return loading_; }

signals:
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void appendPiece();
    void complete();
    void stop();
    void replaceText(const QString &text);

    QPlainTextEdit *box_;
    std::unique_ptr<RecordText> text_;
    QTimer timer_;
    bool loading_ = false;
    // The box holds the whole text of the last load.
    bool shownWhole_ = false;
};

} // namespace mitoon
