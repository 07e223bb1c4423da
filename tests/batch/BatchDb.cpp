#include "tests/batch/BatchDb.h"

#include "batch/BatchMain.h"
#include "common/IniFile.h"
#include "tests/support/SqliteDb.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {
// The user, the data and the reports, with DATA made by CreateData.
QString content(const QString &CreateData)
{
    return "INSERT INTO SRV (MAIN, SECOND, RO) VALUES (0, 1, 0);"
           "INSERT INTO USER_PSW (TABNUM, NAME, PWD, WENABLED, ALLNAME, SHEMA) "
           "VALUES (7, 'dispatcher', 'secret', 'T', 'Диспетчер', 0);" +
           CreateData +
           ";"
           "INSERT INTO DATA VALUES ('2015-03-01 00:00:00', 10, 'один'), ('2015-03-02 00:00:00', "
           "20, "
           "''),"
           " ('2015-03-03 00:00:00', 30, 'три');"
           "INSERT INTO QUORVEL_CAT VALUES (1, 'Сводки', NULL, 1);"
           "INSERT INTO QUORVEL_CAT VALUES (2, 'Сутки', 1, 0);"
           "INSERT INTO QUORVEL_CAT VALUES (3, 'Итог: месяц', 1, 0);"
           "INSERT INTO QUORVEL_CAT VALUES (4, 'Заметки', 1, 0);"
           "INSERT INTO QUORVEL VALUES (2, 'select dt d, v from data where dt between "
           "dtpbegin and dtpend order by dt', 'Дата,Значение', '90,60', 'C,R', 'Сутки сверху',"
           " 'Сутки снизу');"
           "INSERT INTO QUORVEL VALUES (3, 'select sum(v) s from data', 'Сумма', '80', 'R',"
           " 'Итог сверху', '');"
           "INSERT INTO QUORVEL VALUES (4, 'select note n from data order by dt', 'Заметка',"
           " '120', 'L', '', 'Заметки снизу')";
}
} // namespace

BatchDb::BatchDb()
{
    const QString connect = createSqliteDatabase(file());
    exec(content("CREATE TABLE DATA (DT DATE, V NUMBER(9), NOTE VARCHAR2(20))"));
    IniFile(dir_.file(QStringLiteral("viri.ini")))
        .writeString(QStringLiteral("Alias"), QStringLiteral("SERVER_NAME"), connect);
}

BatchPgDb::BatchPgDb()
{
    if (!pg_.ok())
        return;
    exec(content("CREATE TABLE DATA (DT TIMESTAMP, V INTEGER, NOTE VARCHAR(20))"));
    IniFile ini(dir_.file(QStringLiteral("viri.ini")));
    ini.writeString(QStringLiteral("Alias"), QStringLiteral("SERVER_NAME"), pg_.connectString());
    ini.writeString(QStringLiteral("Alias"), QStringLiteral("USER_NAME"), pg_.user());
}

void BatchPgDb::exec(const QString &sql) const
{
    pg_.sql(sql);
}

void BatchDb::exec(const QString &sql) const
{
    sqliteExec(file(), sql);
}

QStringList BatchDb::loginArgs() const
{
    const QString path = dir_.file(QStringLiteral("password"));
    QFile file(path);
    if (!file.exists()) {
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("secret\n");
        file.close();
        EXPECT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
    return {QStringLiteral("dispatcher@ZUD"), QStringLiteral("--password-file"), path};
}

QString BatchDb::rows(const QString &sql) const
{
    return sqliteQuery(file(), sql);
}

int runBatch(const QStringList &Args, QString *Out, QString *Err)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int code = BatchMain(Args, outStream, errStream, false, QDate(2015, 3, 3));
    if (Out)
        *Out = out;
    if (Err)
        *Err = err;
    return code;
}
