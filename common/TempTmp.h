#pragma once

#include "common/IniFile.h"

#include <QString>
#include <QStringList>

class QHeaderView;
class QObject;
class QTableView;
class QTreeView;
class QWidget;

// The state file of the user interface. The database module sets it at start-up; while it is
// shorter than two characters, the first TTempTmp puts "Temp.tmp" in the current folder here.
extern QString TmpFile;

// The section prefix of a program file: its name with the extension's letters dropped and the
// dot kept ("P.exe" gives "P.", a name without extension gets a dot appended).
QString ProgramSectionPrefix(const QString &programFile);

// A window's or control's state between runs, kept in its class's section of TmpFile. One
// instance serves one save or load; every write reaches the file at once, and a refused write
// raises EIniFileException, leaving the keys written before it in the file.
//
// A window's border counts as fixed (so SaveBounds keeps no "Width" and "Height") when its
// minimum and maximum sizes are equal (a fixed-size dialog, a layout with a fixed-size
// constraint), when it asks for a fixed-size frame (Qt::MSWindowsFixedSizeDialogHint), or when
// it has no frame at all (Qt::FramelessWindowHint). Bounds are the client-area geometry, the
// restored one for a maximised window (normalGeometry), which is what setGeometry puts back.
class TTempTmp {
public:
    // Source must not be null; it is not owned.
    explicit TTempTmp(QObject *Source);

    static QString GetSectionName(const QObject *Source);
    const QString &SectionName() const { return FSectionName; }
    void setSectionName(const QString &name) { FSectionName = name; }
    const QString &FileName() const { return FIni.fileName(); }

    bool ReadBool(const QString &Ident, bool Default) const;
    int ReadInteger(const QString &Ident, int Default) const;
    QString ReadString(const QString &Ident, const QString &Default) const;
    void WriteBool(const QString &Ident, bool Value);
    void WriteInteger(const QString &Ident, int Value);
    void WriteString(const QString &Ident, const QString &Value);

    QStringList ReadSection() const;
    QStringList ReadSectionValues() const;
    void EraseSection();
    void DeleteKey(const QString &Ident);

    // Position, size and state of the source when it is a widget; D is not used.
    void SaveBounds();
    void LoadBounds(int D = 0);

    void SaveLeftTop(const QWidget *Control);
    void LoadLeftTop(QWidget *Control);

    // The header of a tree view plays the list view's columns.
    void SaveColumnListView(const QTreeView *lv);
    void LoadColumnListView(QTreeView *lv);
    void SaveColumnStringGrid(const QTableView *sg);
    void LoadColumnStringGrid(QTableView *sg);

    // Line edits (text), checkable tool buttons (checked), check boxes (checked) and spin boxes
    // (value) among the descendants of f, or of the source when f is null, in their order.
    void SaveComponentsValue(const QObject *f = nullptr);
    void LoadComponentsValue(QObject *f = nullptr);

private:
    void saveHeader(const QHeaderView *header, const QString &keyFormat);
    void loadHeader(QHeaderView *header, const QString &keyFormat) const;

    // In this order: a missing source is refused before the file name is settled.
    QObject *FSource;
    QString FSectionName;
    IniFile FIni;
};
