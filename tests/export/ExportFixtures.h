#pragma once

#include "export/ExportErrors.h"
#include "export/ExportModel.h"
#include "tests/support/TempDir.h"

#include <QList>
#include <QStringList>

#include <functional>

// Export models as the program builds them from a result grid: columns "ColNo_<k>" and the
// title lines (an empty line, then the report's title).
TExportModel gridModel(const QString &fileName, int columns, const QString &top = "Верх",
                       const QString &bottom = "Низ");

// rows × columns texts mixing Cyrillic and Latin, unique per cell.
QList<QStringList> sampleRows(int rows, int columns);

// The export error f raises; a test failure when it raises none.
EQExportError errorOf(const std::function<void()> &f);

// A tmpfs of its own for one test, unmounted at its end. Mounting needs the right to (CI has
// it); mount() says whether it was given.
class TmpfsMount {
public:
    TmpfsMount() = default;
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;
    ~TmpfsMount();

    bool mount(const QString &options); // as mount -o takes them: "size=16k", "ro"
    QString path() const { return point_; }

private:
    TempDir dir_;
    QString point_;
    bool mounted_ = false;
};
