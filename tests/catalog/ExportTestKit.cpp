#include "tests/catalog/ExportTestKit.h"

#include "catalog/StringGrid.h"

#include <QDir>

#include <gtest/gtest.h>

#include <vector>

void fillResultGrid(TStringGrid &SG, const QStringList &Titles, const QList<QStringList> &Rows)
{
    SG.SetColCount(int(Titles.size()) + 1);
    SG.SetRowCount(int(Rows.size()) + 1);
    for (int c = 0; c < Titles.size(); ++c)
        SG.SetCells(c + 1, 0, Titles[c]);
    std::vector<QString> cells;
    for (int r = 0; r < Rows.size(); ++r) {
        cells.assign({QString::number(r + 1)});
        cells.insert(cells.end(), Rows[r].begin(), Rows[r].end());
        SG.SetRowCells(r + 1, cells);
    }
}

QStringList withoutTrailingEmpty(QStringList Row)
{
    while (!Row.isEmpty() && Row.back().isEmpty())
        Row.removeLast();
    return Row;
}

SaveDialogScript::SaveDialogScript()
{
    previous_ = SetSaveDialogHandler([this](const QString &InitialDir, const QString &FileName) {
        asked_.append(InitialDir + u'|' + FileName);
        if (answers_.isEmpty()) {
            ADD_FAILURE() << "unexpected save dialog in " << InitialDir.toStdString();
            return std::optional<QString>();
        }
        return answers_.dequeue();
    });
}

SaveDialogScript::~SaveDialogScript()
{
    EXPECT_TRUE(answers_.isEmpty()) << answers_.size() << " save dialog answers not used";
    SetSaveDialogHandler(std::move(previous_));
}

SaveDialogScript &SaveDialogScript::answer(std::optional<QString> Path)
{
    answers_.enqueue(std::move(Path));
    return *this;
}

OpenedDocuments::OpenedDocuments()
{
    previous_ = SetOpenDocumentHandler([this](const QString &Path) {
        paths_.append(Path);
        if (onOpen)
            onOpen(Path);
    });
}

OpenedDocuments::~OpenedDocuments()
{
    SetOpenDocumentHandler(std::move(previous_));
}

WorkingDirectory::WorkingDirectory(const QString &Path) : previous_(QDir::currentPath())
{
    EXPECT_TRUE(QDir::setCurrent(Path)) << Path.toStdString();
}

WorkingDirectory::~WorkingDirectory()
{
    QDir::setCurrent(previous_);
}
