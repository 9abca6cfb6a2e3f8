// SPDX-License-Identifier: MIT
#include "platform/Runtime.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace rt {

double Val(const QString& text)
{
    int i = 0;
    const int n = text.size();
    auto blank = [&](int k) { return k < n && (text[k] == u' ' || text[k] == u'\t' || text[k] == u'\n' || text[k] == u'\r'); };
    auto digit = [&](int k) { return k < n && text[k] >= u'0' && text[k] <= u'9'; };
    while (blank(i))
        ++i;
    std::string number;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        number += char(text[i++].unicode());
    bool anyDigit = false;
    while (digit(i)) {
        number += char(text[i++].unicode());
        anyDigit = true;
    }
    if (i < n && text[i] == u'.') {
        number += '.';
        ++i;
        while (digit(i)) {
            number += char(text[i++].unicode());
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        int j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            exponent += char(text[j++].unicode());
        if (digit(j)) {
            while (digit(j))
                exponent += char(text[j++].unicode());
            number += exponent;
        }
    }
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

QString DecimalText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    return QString::number(value, 'f', 0);
}

QString SignedText(double value)
{
    const QString digits = DecimalText(value);
    return value >= 0 ? QStringLiteral(" ") + digits : digits;
}

double Int(double x)
{
    return std::floor(x);
}

long ColorFromHexText(const QString& text)
{
    QString digits = text.trimmed();
    if (digits.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    bool ok = false;
    const long value = long(digits.toULongLong(&ok, 16) & 0xFFFFFF);
    return ok ? value : 0;
}

QRect TwipsRect(int left, int top, int width, int height, double zoom)
{
    return QRect(Px(left, zoom), Px(top, zoom), Px(width, zoom), Px(height, zoom));
}

} // namespace rt
