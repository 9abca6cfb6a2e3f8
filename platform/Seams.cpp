#include "platform/Seams.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QDialog>
#include <QInputDialog>

#include <chrono>
#include <random>

namespace seams {
namespace {

class ClockRandom final : public RandomSource {
public:
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }
    void randomize() override
    {
        engine_.seed(std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
    }

private:
    std::mt19937_64 engine_{12345};
};

class WidgetPrompter final : public Prompter {
public:
    int msgBox(const QString& prompt, int style, const QString& title) override
    {
        const auto box = ui::MakeMessageBox(prompt, style, title);
        return ui::RunMessageBox(*box, style);
    }

    QString inputBox(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        QInputDialog dialog;
        dialog.setWindowTitle(title);
        dialog.setLabelText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        dialog.setTextValue(defaultText);
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("キャンセル"));
        return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
    }

    void showModal(QDialog& dialog) override { dialog.exec(); }
};

class ProcessHost final : public Host {
public:
    QString programDir() override { return QCoreApplication::applicationDirPath(); }
    void endProgram() override
    {
        ended_ = true;
        QCoreApplication::exit(0);
    }
    bool ended() const override { return ended_; }

private:
    bool ended_ = false;
};

ClockRandom realRandom;
WidgetPrompter realPrompter;
ProcessHost realHost;
RandomSource* currentRandom = &realRandom;
Prompter* currentPrompter = &realPrompter;
Host* currentHost = &realHost;

} // namespace

void install(RandomSource* source) { currentRandom = source ? source : &realRandom; }
void install(Prompter* prompter) { currentPrompter = prompter ? prompter : &realPrompter; }
void install(Host* host) { currentHost = host ? host : &realHost; }

RandomSource& random() { return *currentRandom; }
Prompter& prompter() { return *currentPrompter; }
Host& host() { return *currentHost; }

} // namespace seams

double Rnd() { return seams::random().next(); }
void Randomize() { seams::random().randomize(); }
int MsgBox(const QString& prompt, int style, const QString& title)
{
    return seams::prompter().msgBox(prompt, style, title);
}
QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return seams::prompter().inputBox(prompt, title, defaultText);
}
void ShowModal(QDialog& dialog) { seams::prompter().showModal(dialog); }
QString ProgramDir() { return seams::host().programDir(); }
void EndProgram() { seams::host().endProgram(); }
bool ProgramEnded() { return seams::host().ended(); }
