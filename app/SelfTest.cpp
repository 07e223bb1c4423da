#include "app/SelfTest.h"

#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "catalog/ExportGrid.h"
#include "catalog/PropTVItem.h"
#include "catalog/StringGrid.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QTreeWidgetItemIterator>

#include <exception>

namespace {
int depthOf(const QTreeWidgetItem *Node)
{
    int depth = 0;
    for (const QTreeWidgetItem *p = Node->parent(); p; p = p->parent())
        ++depth;
    return depth;
}

QString record(const QStringList &Fields)
{
    return Fields.join(u'\t') + u'\n';
}

QString runSelfTest(TF_Quorvel &W, const QString &Folder, const QString &ReportName)
{
    QString state =
        record({QStringLiteral("window"), W.objectName(),
                W.isVisible() ? QStringLiteral("1") : QStringLiteral("0"), W.windowTitle()});
    const QString shot = QDir(Folder).filePath(QStringLiteral("window.png"));
    if (W.grab().save(shot))
        state += record({QStringLiteral("shot"), shot, QString::number(W.width()),
                         QString::number(W.height())});
    auto *tree = W.findChild<TCatalogTree *>(QStringLiteral("tvCatReport"));
    auto *SG = W.findChild<TStringGrid *>(QStringLiteral("SG"));
    QTreeWidgetItem *report = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const TPropTVItem *rec = TCatalogTree::Record(*it);
        const bool folder = rec && rec->IsFolder();
        state += record({QStringLiteral("node"), QString::number(depthOf(*it)),
                         folder ? QStringLiteral("F") : QStringLiteral("R"), (*it)->text(0)});
        if (!folder && (*it)->text(0) == ReportName)
            report = *it;
    }
    if (!report)
        return state;
    tree->setCurrentItem(report);
    W.tvCatReportClick();
    W.tbExecSQLClick();
    const auto *b = W.findChild<QDateEdit *>(QStringLiteral("dtpBegin"));
    const auto *e = W.findChild<QDateEdit *>(QStringLiteral("dtpEnd"));
    state +=
        record({QStringLiteral("run"), ReportName, b->date().toString(QStringLiteral("dd.MM.yyyy")),
                e->date().toString(QStringLiteral("dd.MM.yyyy")), QString::number(SG->RowCount()),
                QString::number(SG->ColCount())});
    const QString xls = QDir(Folder).filePath(QStringLiteral("report.xls"));
    try {
        ExportResultAs(TExportKind::Xls, &SG->Result(), TCatalogTree::Record(report), xls);
        state += record({QStringLiteral("xls"), xls});
    } catch (const std::exception &error) {
        state += record({QStringLiteral("error"), QString::fromUtf8(error.what())});
    }
    return state;
}
} // namespace

void ScheduleSelfTest(TF_Quorvel &Window)
{
    const QString folder = qEnvironmentVariable("QUORVEL_SELF_TEST");
    if (folder.isEmpty())
        return;
    QTimer::singleShot(0, &Window, [&Window, folder] {
        QFile f(QDir(folder).filePath(QStringLiteral("state.txt")));
        if (f.open(QIODevice::WriteOnly))
            f.write(runSelfTest(Window, folder, qEnvironmentVariable("QUORVEL_SELF_TEST_REPORT"))
                        .toUtf8());
        Window.close();
    });
}
