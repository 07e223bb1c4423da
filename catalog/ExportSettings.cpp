#include "catalog/ExportSettings.h"

#include "db/OracleBase.h"
#include "export/ExportErrors.h"

namespace {
const QString Section = QStringLiteral("Export");

QChar separatorOf(const QString &Text)
{
    if (Text.isEmpty())
        return u';';
    if (Text.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0)
        return u'\t';
    if (Text.size() != 1 || Text == u"\"" || Text == u"\r" || Text == u"\n")
        raiseExportError(EQExportError::BadSetting, QStringLiteral("CSV_SEPARATOR [Export]"),
                         QStringLiteral("нужен один знак, кроме кавычки, или tab"));
    return Text.front();
}

TCSVOptions::TEncoding encodingOf(const QString &Text)
{
    const QString name = Text.toLower();
    if (name.isEmpty() || name == u"utf-8" || name == u"utf8")
        return TCSVOptions::Utf8WithBom;
    if (name == u"windows-1251" || name == u"cp1251")
        return TCSVOptions::Windows1251;
    raiseExportError(EQExportError::BadSetting, QStringLiteral("CSV_ENCODING [Export]"),
                     QStringLiteral("допустимы utf-8 и windows-1251"));
}
} // namespace

TCSVOptions CsvExportOptions()
{
    const IniFile ini = ViriIni();
    TCSVOptions options;
    options.FSeparator =
        separatorOf(ini.readString(Section, QStringLiteral("CSV_SEPARATOR"), QString()).trimmed());
    options.FEncoding =
        encodingOf(ini.readString(Section, QStringLiteral("CSV_ENCODING"), QString()).trimmed());
    return options;
}
