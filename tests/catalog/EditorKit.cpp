#include "tests/catalog/EditorKit.h"

#include "catalog/CatalogStore.h"
#include "catalog/SetSQLTable.h"
#include "catalog/StringGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <vector>

namespace {
class KeepingSink : public TCatalogSink {
public:
    int AddNode(int, std::unique_ptr<TPropTVItem> Rec) override
    {
        nodes.push_back(std::move(Rec));
        return int(nodes.size()) - 1;
    }
    void MissingFolder(const QString &) override {}
    std::vector<std::unique_ptr<TPropTVItem>> nodes;
};

QWidget *openEditorWidget(TStringGrid &grid)
{
    for (QObject *child : grid.viewport()->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (w && w->isVisible())
            return w;
    }
    return nullptr;
}
// Key presses carrying the characters, Cyrillic included (QTest::keyClicks knows only ASCII).
void typeText(QWidget &Target, const QString &Text)
{
    for (QChar ch : Text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(&Target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(&Target, &release);
    }
}
} // namespace

std::unique_ptr<TPropTVItem> loadRecord(int ID)
{
    KeepingSink sink;
    EXPECT_TRUE(LoadCatalog(sink));
    for (auto &rec : sink.nodes) {
        if (rec->id == ID)
            return std::move(rec);
    }
    return nullptr;
}

std::shared_ptr<bool> whenEditorOpens(std::function<void(TfSetSQLTable &)> Step)
{
    auto ran = std::make_shared<bool>(false);
    QTimer::singleShot(0, [ran, Step = std::move(Step)] {
        TfSetSQLTable *window = fSetSQLTable;
        if (!window || !window->isVisible()) {
            ADD_FAILURE() << "no editor window open";
            return;
        }
        *ran = true;
        EXPECT_TRUE(window->isModal());
        Step(*window);
        window->reject();
    });
    return ran;
}

int openEditor(TPropTVItem &Rec, QWidget &Owner, const std::function<void(TfSetSQLTable &)> &Step)
{
    const std::shared_ptr<bool> ran = whenEditorOpens(Step);
    const int result = SetSqlAndTable(Rec, editorBegin, editorEnd, &Owner);
    EXPECT_TRUE(*ran);
    return result;
}

void typeSettings(TStringGrid &SGTableSet, int ACol, const QStringList &Texts, bool Pending)
{
    TStringGridModel *model = SGTableSet.GridModel();
    for (int i = 0; i < Texts.size(); ++i) {
        // Model rows start below the fixed row, columns right of the fixed column.
        const QModelIndex at = model->index(i, ACol - 1);
        SGTableSet.setCurrentIndex(at);
        // Moving to a cell may open its editor already.
        QWidget *editor = openEditorWidget(SGTableSet);
        if (!editor) {
            SGTableSet.edit(at);
            editor = openEditorWidget(SGTableSet);
        }
        ASSERT_NE(editor, nullptr) << "no cell editor for row " << i + 1;
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        typeText(*editor, Texts[i]);
        if (!Pending || i + 1 < Texts.size()) {
            QTest::keyClick(editor, Qt::Key_Return);
            // Enter commits through a queued call.
            QCoreApplication::processEvents();
        }
    }
}

void clickButton(TfSetSQLTable &Window, const char *Name)
{
    auto *button = Window.findChild<QToolButton *>(QString::fromLatin1(Name));
    ASSERT_NE(button, nullptr) << Name;
    QTest::mouseClick(button, Qt::LeftButton);
}

QString definitionQuery(int ID, const QStringList &Columns)
{
    QStringList quoted;
    for (const QString &c : Columns)
        quoted.append(QStringLiteral("quote(") + c + u')');
    return QStringLiteral("SELECT ") + quoted.join(QStringLiteral(" || '|' || ")) +
           QStringLiteral(" FROM QUORVEL WHERE ID_REPORT = ") + QString::number(ID);
}
