// The probability command, unlocked by reaching $10,000,000: the player picks
// the denominator of the jackpot probability (6 in n).
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

// The whole number a text stands for, when its trimmed form is entirely one
// decimal number (sign, digits, decimal point, exponent) whose value rounded
// half to even fits in 16 bits. Anything else has no value.
std::optional<int> WholeNumber16(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double whole = std::nearbyint(value); // default rounding: half to even
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return int(whole);
}

// The denominator an answer asks for, kept within 6..5000: too small means
// the normal 300, too large the limit 5000. An answer that is no usable
// number keeps the denominator in force.
int ChooseDenominator(const QString& answer, double current)
{
    double n = WholeNumber16(answer).value_or(std::nearbyint(current));
    if (n < 6)
        n = 300;
    if (n > 5000)
        n = 5000;
    return int(n);
}

} // namespace

void FrmMain::mnuKakuritu_Click()
{
    const QString current = rt::DecimalText(ProbDenominator);
    const QString prompt = QStringLiteral("確率の分母を入力してください。") + QStringLiteral("\r\n")
        + QStringLiteral("通常の確率分母は 300 です。") + QStringLiteral("\r\n")
        + QStringLiteral("大当り値が 6 個ある為 6 以下の数値は入力できません。");
    QString answer = InputBox(prompt, QStringLiteral("確率変動"), current);
    if (answer.isEmpty())
        answer = current;
    const int n = ChooseDenominator(answer, ProbDenominator);
    const QString text = rt::DecimalText(n);
    MsgBox(QStringLiteral("確率を") + text + QStringLiteral("分の6に変更しました。"), seams::vbInformation,
           QStringLiteral("ゼルモア"));
    MdlZelmor::SaveLines[28] = QStringLiteral("1");
    MdlZelmor::SaveLines[29] = QStringLiteral("ChosenGuest");
    MdlZelmor::SaveLines[30] = text;
    ProbDenominator = n;
}
