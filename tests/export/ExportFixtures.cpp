#include "tests/export/ExportFixtures.h"

#include <QDir>

#include <gtest/gtest.h>

TExportModel gridModel(const QString &fileName, int columns, const QString &top,
                       const QString &bottom)
{
    TExportModel m;
    m.FileName = fileName;
    for (int k = 0; k < columns; ++k)
        m.Columns.append({QStringLiteral("ColNo_%1").arg(k), 3 + k % 20});
    m.Header = {QString(), top};
    m.Footer = {QString(), bottom};
    return m;
}

QList<QStringList> sampleRows(int rows, int columns)
{
    QList<QStringList> result;
    for (int r = 0; r < rows; ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row.append((c % 2 ? QStringLiteral("Подстанция %1/%2") : QStringLiteral("Line %1-%2"))
                           .arg(r)
                           .arg(c));
        result.append(row);
    }
    return result;
}

EQExportError errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const EQExportError &e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return EQExportError(EQExportError::NoFileName, QString());
}

bool TmpfsMount::mount(const QString &options)
{
    point_ = dir_.file(QStringLiteral("mnt"));
    QDir().mkpath(point_);
    mounted_ = runProgram(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           options, QStringLiteral("tmpfs"), point_}) == 0;
    return mounted_;
}

TmpfsMount::~TmpfsMount()
{
    if (mounted_) {
        EXPECT_EQ(runProgram(QStringLiteral("umount"), {point_}), 0);
    }
}
