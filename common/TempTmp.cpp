#include "common/TempTmp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <stdexcept>

QString TmpFile;

namespace {

const QString &stateFile()
{
    if (TmpFile.size() < 2)
        TmpFile = QDir::toNativeSeparators(QDir::current().filePath(QStringLiteral("Temp.tmp")));
    return TmpFile;
}

QObject *checkedSource(QObject *source)
{
    if (!source)
        throw std::invalid_argument("TTempTmp needs a source object");
    return source;
}

} // namespace

QString ProgramSectionPrefix(const QString &programFile)
{
    const QString name = QFileInfo(programFile).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return (dot < 0 ? name : name.left(dot)) + u'.';
}

TTempTmp::TTempTmp(QObject *Source)
    : FSource(checkedSource(Source)), FSectionName(GetSectionName(FSource)), FIni(stateFile())
{
}

QString TTempTmp::GetSectionName(const QObject *Source)
{
    return ProgramSectionPrefix(QCoreApplication::applicationFilePath()) +
           QString::fromLatin1(Source->metaObject()->className());
}

bool TTempTmp::ReadBool(const QString &Ident, bool Default) const
{
    return FIni.readBool(FSectionName, Ident, Default);
}

int TTempTmp::ReadInteger(const QString &Ident, int Default) const
{
    return FIni.readInteger(FSectionName, Ident, Default);
}

QString TTempTmp::ReadString(const QString &Ident, const QString &Default) const
{
    return FIni.readString(FSectionName, Ident, Default);
}

void TTempTmp::WriteBool(const QString &Ident, bool Value)
{
    FIni.writeBool(FSectionName, Ident, Value);
}

void TTempTmp::WriteInteger(const QString &Ident, int Value)
{
    FIni.writeInteger(FSectionName, Ident, Value);
}

void TTempTmp::WriteString(const QString &Ident, const QString &Value)
{
    FIni.writeString(FSectionName, Ident, Value);
}

QStringList TTempTmp::ReadSection() const
{
    return FIni.readSection(FSectionName);
}

QStringList TTempTmp::ReadSectionValues() const
{
    return FIni.readSectionValues(FSectionName);
}

void TTempTmp::EraseSection()
{
    FIni.eraseSection(FSectionName);
}

void TTempTmp::DeleteKey(const QString &Ident)
{
    FIni.deleteKey(FSectionName, Ident);
}
