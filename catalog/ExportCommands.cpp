#include "catalog/ExportCommands.h"

#include "catalog/CatalogTree.h"
#include "catalog/ExportFileChoice.h"
#include "catalog/ExportGrid.h"
#include "catalog/ExportProgress.h"
#include "catalog/PrintPreview.h"
#include "catalog/ShowFile.h"
#include "catalog/StringGrid.h"
#include "common/MessageDialogs.h"

#include <QFileInfo>
#include <QTreeWidgetItem>

#include <exception>

namespace {

// The grid is hidden while it is written, as the user has always seen it, and shown again
// however the export ends.
class HiddenGrid {
public:
    explicit HiddenGrid(TStringGrid &SG) : sg_(SG), wasHidden_(SG.isHidden()) { sg_.hide(); }
    ~HiddenGrid() { sg_.setHidden(wasHidden_); }
    HiddenGrid(const HiddenGrid &) = delete;
    HiddenGrid &operator=(const HiddenGrid &) = delete;

private:
    TStringGrid &sg_;
    bool wasHidden_;
};

// A failure reaches the application's error box once the grid is back.
template <typename Write>
void exportHidden(QWidget *Parent, TStringGrid &SG, TExportKind Kind, Write write)
{
    std::optional<QString> failure;
    {
        const HiddenGrid hidden(SG);
        try {
            TExportProgress progress(Parent, ExportRowsRead(Kind, SG.RowCount() - SG.FixedRows()));
            write(&progress);
        } catch (const std::exception &e) {
            failure = QString::fromUtf8(e.what());
        }
    }
    if (failure)
        ErrorMessage(*failure, QString());
}

std::optional<QString> nodeText(const std::optional<TExportNode> &Node)
{
    return Node ? std::optional<QString>(Node->Text) : std::nullopt;
}

} // namespace

std::optional<TExportNode> ExportNodeOf(const QTreeWidgetItem *Node)
{
    if (!Node)
        return std::nullopt;
    return TExportNode{Node->text(0), TCatalogTree::Record(Node)};
}

void ToExelCommand(QWidget *Parent, TStringGrid &SG, const std::optional<TExportNode> &Node)
{
    SaveResultCommand(Parent, SG, Node, TExportKind::Xls);
}

void ToWordCommand(QWidget *Parent, TStringGrid &SG, const std::optional<TExportNode> &Node,
                   const TPropTVItem *CurSQL)
{
    const std::optional<QString> chosen = ChooseExportFile(Parent, QStringLiteral("otchet"));
    if (!chosen)
        return;
    const QString path = ExportFilePath(*chosen, nodeText(Node), TExportKind::Rtf);
    const TPropTVItem *titles = Node ? CurSQL : nullptr;
    exportHidden(Parent, SG, TExportKind::Rtf, [&](TExportProgress *progress) {
        ExportResultAs(TExportKind::Rtf, &SG.Result(), titles, path, progress, SG.ExportRowOrder());
        OpenInAssociatedApplication(QFileInfo(path).absoluteFilePath());
    });
}

void SaveResultCommand(QWidget *Parent, TStringGrid &SG, const std::optional<TExportNode> &Node,
                       TExportKind Kind, const TPdfOptions &Pdf)
{
    const std::optional<QString> chosen =
        ChooseExportFile(Parent, QStringLiteral("otchet") + ExportExtension(Kind));
    if (!chosen)
        return;
    const QString path = ExportFilePath(*chosen, nodeText(Node), Kind);
    const TPropTVItem *titles = Node ? Node->Record : nullptr;
    exportHidden(Parent, SG, Kind, [&](TExportProgress *progress) {
        ExportResultAs(Kind, &SG.Result(), titles, path, progress, SG.ExportRowOrder(), Pdf);
    });
}

void PrintCommand(QWidget *Parent, TStringGrid &SG, const std::optional<TExportNode> &Node,
                  const TPdfOptions &Pdf)
{
    PrintResult(Parent, SG.Result(), Node ? Node->Record : nullptr, SG.ExportRowOrder(), Pdf);
}
