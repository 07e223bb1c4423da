#include "catalog/ExportFileChoice.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include <utility>

namespace {

TSaveDialog &handler()
{
    static TSaveDialog h;
    return h;
}

std::optional<QString> runSaveDialog(QWidget *Parent, const QString &InitialDir,
                                     const QString &FileName)
{
    QFileDialog dialog(Parent);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // An existing file is overwritten without asking, as the export itself does.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(InitialDir);
    dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString withoutMarks(QString Name)
{
    Name.remove(u'<');
    Name.remove(u'>');
    Name.remove(u':');
    return Name;
}

// The node's text as a path below the chosen folder.
QString relativeName(const QString &NodeText)
{
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    QStringList parts = NodeText.split(separators, Qt::SkipEmptyParts);
    parts.removeIf([](const QString &p) { return p == u"." || p == u".."; });
    return parts.join(u'/');
}

} // namespace

std::optional<QString> ChooseExportFile(QWidget *Parent, const QString &FileName)
{
    const QString initialDir = QDir::currentPath();
    std::optional<QString> chosen =
        handler() ? handler()(initialDir, FileName) : runSaveDialog(Parent, initialDir, FileName);
    if (chosen)
        QDir::setCurrent(QFileInfo(*chosen).absolutePath());
    return chosen;
}

TSaveDialog SetSaveDialogHandler(TSaveDialog Handler)
{
    return std::exchange(handler(), std::move(Handler));
}

QString ExportFilePath(const QString &Chosen, const std::optional<QString> &NodeText,
                       TExportKind Kind)
{
    const bool rtf = Kind == TExportKind::Rtf;
    const QString ext = ExportExtension(Kind);
    const QFileInfo chosen(Chosen);
    if (NodeText) {
        const QString name = relativeName(*NodeText);
        return QDir(chosen.absolutePath()).filePath((rtf ? withoutMarks(name) : name) + ext);
    }
    if (Kind == TExportKind::Xls)
        return Chosen;
    if (rtf)
        return QDir(chosen.path()).filePath(withoutMarks(chosen.fileName()) + ext);
    return Chosen.endsWith(ext, Qt::CaseInsensitive) ? Chosen : Chosen + ext;
}
