#include "common/TextHelpers.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <stdexcept>
#include <utility>

QString TrimControls(const QString &S)
{
    qsizetype begin = 0;
    qsizetype end = S.size();
    while (begin < end && S.at(begin).unicode() <= u' ')
        ++begin;
    while (end > begin && S.at(end - 1).unicode() <= u' ')
        --end;
    return S.mid(begin, end - begin);
}

const char *const SystemCodePage = "windows-1251";

QByteArray ToSystemCodePage(const QString &Text)
{
    QStringEncoder encode(SystemCodePage, QStringConverter::Flag::Stateless);
    QStringDecoder decode(SystemCodePage, QStringConverter::Flag::Stateless);
    QByteArray out;
    out.reserve(Text.size());
    // Character by character with a round trip: what the converter substitutes for a missing
    // character differs between code pages and converters, "?" is what the table expects.
    for (const char32_t c : Text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        const QByteArray b = encode(one);
        const QString back = decode(b);
        out.append(b.size() == 1 && back == one ? b : QByteArrayLiteral("?"));
    }
    return out;
}

void Exchange(int &A, int &B)
{
    std::swap(A, B);
}

QString IIf(bool Condition, const QString &Expression1, const QString &Expression2)
{
    return Condition ? Expression1 : Expression2;
}

QString Parse(const QString &Source, QChar Chr, int &Index)
{
    if (Index < 1 || Index > Source.size()) {
        Index = 0;
        return {};
    }
    const qsizetype k = Source.indexOf(Chr, Index - 1);
    if (k < 0) {
        const QString rest = Source.mid(Index - 1);
        Index = 0;
        return rest;
    }
    const QString token = Source.mid(Index - 1, k - (Index - 1));
    Index = int(k) + 2;
    return token;
}

int ExtrMajorVer(const QString &Version)
{
    const qsizetype n = Version.trimmed().size();
    // The scan runs over the untrimmed text up to the trimmed length, as the version line
    // comes from the server with a trailing blank.
    qsizetype start = 0;
    for (qsizetype i = std::min(n, Version.size()) - 1; i >= 0; --i) {
        if (Version.at(i) == u' ') {
            start = i + 1;
            break;
        }
    }
    qsizetype end = Version.indexOf(u'.', start);
    if (end < 0)
        end = Version.size();
    const QString digits = Version.mid(start, end - start);
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok)
        throw std::invalid_argument(
            QStringLiteral("'%1' is not a valid integer value").arg(digits).toStdString());
    return value;
}
