#pragma once

#include <QString>
#include <QTime>

#include <string>

// A time-of-day format without its time-zone fields ("t", "tt", "ttt",
// "tttt" outside quoted text), trimmed: "HH:mm:ss t" gives "HH:mm:ss".
QString WithoutTimeZone(const QString &format);

// The time in the system locale's long time format, without the time zone,
// as Windows-1251 bytes. A text Windows-1251 cannot hold (an AM/PM word in
// some scripts) gives hours, minutes and seconds as "HH:mm:ss" instead.
std::string LongTimeText(const QTime &time);
