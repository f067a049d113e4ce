#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken rule must look like a crash to libFuzzer, with the rule named.
inline void check(bool ok, const char *rule, const QString &detail = QString())
{
    if (ok)
        return;
    std::fprintf(stderr, "\n==== broken rule: %s\n", rule);
    if (!detail.isEmpty())
        std::fprintf(stderr, "%s\n", detail.toUtf8().constData());
    std::abort();
}

// Inputs are UTF-8: the seeds stay readable and every character a teacher
// can type or paste is reachable.
inline QString text_of(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Where two file images part, with the bytes around it, for the report.
inline QString first_difference(const QByteArray &a, const QByteArray &b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    const qsizetype from = qMax<qsizetype>(0, i - 32);
    return QStringLiteral("sizes %1 and %2, first difference at byte %3\n  first:  %4\n  second: %5")
        .arg(a.size())
        .arg(b.size())
        .arg(i)
        .arg(QString::fromLatin1(a.mid(from, 64).toHex(' ')),
             QString::fromLatin1(b.mid(from, 64).toHex(' ')));
}
