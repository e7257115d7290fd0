#include "TimeText.h"

#include "Text.h"

#include <QLocale>

QString WithoutTimeZone(const QString &format)
{
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('t'))
            continue;
        kept.append(c);
    }
    return kept.trimmed();
}

std::string LongTimeText(const QTime &time)
{
    const QLocale locale = QLocale::system();
    const QString text = locale.toString(time, WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    return toCp1251(text).value_or(time.toString(QStringLiteral("HH:mm:ss")).toStdString());
}
