// The help window: the rules of the game as a rich-text document. It is
// modeless, so the player can keep it open and go on playing.
#pragma once

#include <QWidget>

class QTextBrowser;

class FrmHelp : public QWidget {
    Q_OBJECT
public:
    explicit FrmHelp(QWidget* owner = nullptr);

    QTextBrowser* RichTextBox1 = nullptr;

    void Form_KeyDown(int keyCode, int shift);
    // The help document as it is built into the program (HTML).
    static QString Document();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
