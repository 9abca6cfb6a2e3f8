// SPDX-License-Identifier: MIT
// The words of the game's notices and questions, all in one place: each
// notice the machine or the start-up raises, as the message box that tells
// it, and the probability command's question.
#pragma once

#include "game/Prompts.h"
#include "ui/MessageBox.h"

#include <optional>

namespace ui {

// The message box that tells a notice. None for WitsFailure, which shows as
// a dialog of its own (ui/WitsFailureDialog.h), and none for an excuse the
// loan has not got.
std::optional<Message> NoticeMessage(const game::Notice& notice);

// The probability command's input box: its title and its prompt, whose
// lines are joined with CR LF.
struct Question {
    QString title;
    QString prompt;
};
Question DenominatorQuestion();

} // namespace ui
