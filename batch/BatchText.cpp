#include "batch/BatchText.h"

QString PeriodText(const QDate &From, const QDate &To)
{
    const QString format = QStringLiteral("dd.MM.yyyy");
    return From.toString(format) + u'-' + To.toString(format);
}

QString RowsText(int Rows)
{
    return QString::number(Rows) + (Rows == 1 ? QStringLiteral(" row") : QStringLiteral(" rows"));
}

QString FileNameOf(const QString &Text, const QString &Fallback)
{
    QString name = Text.trimmed();
    for (QChar &c : name)
        if (c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = u'_';
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return Fallback;
    return name;
}
