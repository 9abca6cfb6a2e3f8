// SPDX-License-Identifier: MIT
#include "game/Prompts.h"

namespace game {

namespace {

// Until the game installs its dialogs: shows nothing and answers as a
// closed window would.
class SilentPrompter final : public Prompter {
public:
    void tell(const Notice&) override {}
    int askTarget() override { return 0; }
    QString askDenominator(const QString&) override { return QString(); }
    WitsChoice askWits() override { return WitsChoice::Closed; }
};

SilentPrompter silentPrompter;
Prompter* currentPrompter = &silentPrompter;

} // namespace

void installPrompter(Prompter* p) { currentPrompter = p ? p : &silentPrompter; }

Prompter& prompter() { return *currentPrompter; }

void tell(Notice::Kind kind, qint64 number)
{
    Notice notice;
    notice.kind = kind;
    notice.number = number;
    currentPrompter->tell(notice);
}

} // namespace game
