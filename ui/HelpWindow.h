// SPDX-License-Identifier: MIT
// The help window: the rules of the game as a rich-text document. It is
// modeless, so the player can keep it open and go on playing.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace ui {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own (not a child of the owner's client area) that is
    // destroyed on closing, so every opening loads the document afresh.
    explicit HelpWindow(QWidget* owner = nullptr);

    QTextBrowser* document = nullptr;

    // The help document as it is built into the program (HTML).
    static QString Document();

protected:
    // The window sees keys before the document view does: Escape closes it.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace ui
