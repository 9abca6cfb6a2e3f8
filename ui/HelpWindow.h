// SPDX-License-Identifier: MIT
// The help window: the rules of the game as a rich-text document in the
// language the game speaks. It is modeless, so the player can keep it open
// and go on playing; a change of language while it is open turns its page
// and title at once.
#pragma once

#include "ui/Language.h"

#include <QWidget>

#include <optional>

class QTextBrowser;

namespace ui {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own (not a child of the owner's client area) that is
    // destroyed on closing, so every opening loads the document afresh.
    explicit HelpWindow(QWidget* owner = nullptr);

    QTextBrowser* document = nullptr;

    // The help document in `language` as it is built into the program (HTML).
    static QString Document(Language language);

protected:
    void changeEvent(QEvent* event) override;
    // The window sees keys before the document view does: Escape closes it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sets the title and the document of the current language.
    void retranslate();

    // The language of the page shown: a LanguageChange that does not change
    // it (Qt's own texts loading, say) keeps the page where the player
    // scrolled it.
    std::optional<Language> pageLanguage_;
};

} // namespace ui
