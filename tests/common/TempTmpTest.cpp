#include "common/TempTmp.h"
#include "tests/common/GuiHelpers.h"
#include "tests/support/TempDir.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

class TF_Quorvel : public QWidget {
    Q_OBJECT
};

class TfSetSQLTable : public QDialog {
    Q_OBJECT
};

namespace {

const QString kSection = QStringLiteral("tests_common.TF_Quorvel");

// Every test keeps its state file in a fresh folder.
class StateFile : public ::testing::Test {
protected:
    void SetUp() override { TmpFile = dir.file(QStringLiteral("Temp.tmp")); }
    void TearDown() override { TmpFile.clear(); }

    QStringList section(const QString &name = kSection) const
    {
        return IniFile(TmpFile).readSectionValues(name);
    }

    TempDir dir;
};

// Section names ------------------------------------------------------------------------------

TEST(ProgramSectionPrefix, DropsTheExtensionLettersAndKeepsTheDot)
{
    EXPECT_EQ(ProgramSectionPrefix(QStringLiteral("P.exe")), QStringLiteral("P."));
    EXPECT_EQ(ProgramSectionPrefix(QStringLiteral("C:/Программы/Q.EXE")), QStringLiteral("Q."));
    EXPECT_EQ(ProgramSectionPrefix(QStringLiteral("a.b.exe")), QStringLiteral("a.b."));
    EXPECT_EQ(ProgramSectionPrefix(QStringLiteral("/opt/x.y/quorvel")), QStringLiteral("quorvel."));
}

class TempTmpSection_Gui : public StateFile {};

TEST_F(TempTmpSection_Gui, IsTheProgramNameAndTheClassNameSharedByAllInstances)
{
    TF_Quorvel first, second;
    TfSetSQLTable dialog;
    EXPECT_EQ(TTempTmp::GetSectionName(&first), kSection);
    EXPECT_EQ(TTempTmp::GetSectionName(&dialog), QStringLiteral("tests_common.TfSetSQLTable"));
    TTempTmp(&first).WriteString(QStringLiteral("Name"), QStringLiteral("Петров"));
    // A second store for another window of the class sees the write at once.
    TTempTmp other(&second);
    EXPECT_EQ(other.SectionName(), kSection);
    EXPECT_EQ(other.ReadString(QStringLiteral("Name"), {}), QStringLiteral("Петров"));
    EXPECT_EQ(TTempTmp(&dialog).ReadString(QStringLiteral("Name"), QStringLiteral("-")),
              QStringLiteral("-"));
}

TEST_F(TempTmpSection_Gui, ReadsWritesAndRemovesKeysOfItsOwnSection)
{
    TF_Quorvel form;
    TTempTmp store(&form);
    store.WriteInteger(QStringLiteral("N"), 12);
    store.WriteBool(QStringLiteral("B"), true);
    store.WriteString(QStringLiteral("S"), QStringLiteral("текст"));
    store.WriteString(QStringLiteral("Bad"), QStringLiteral("12x"));
    IniFile(TmpFile).writeString(QStringLiteral("Login"), QStringLiteral("N"), QStringLiteral("1"));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("N"), 0), 12);
    EXPECT_TRUE(store.ReadBool(QStringLiteral("B"), false));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Bad"), -3), -3);
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Missing"), -4), -4);
    EXPECT_EQ(store.ReadSection(), (QStringList{"N", "B", "S", "Bad"}));
    EXPECT_EQ(store.ReadSectionValues(), (QStringList{"N=12", "B=1", "S=текст", "Bad=12x"}));
    store.DeleteKey(QStringLiteral("S"));
    EXPECT_EQ(store.ReadSection(), (QStringList{"N", "B", "Bad"}));
    store.EraseSection();
    EXPECT_TRUE(store.ReadSection().isEmpty());
    EXPECT_EQ(IniFile(TmpFile).readSections(), QStringList{"Login"});
}

TEST(TempTmpSource, MustBeAnObjectAndIsCheckedBeforeTheFileNameIsSettled)
{
    TmpFile.clear();
    EXPECT_THROW(TTempTmp(nullptr), std::invalid_argument);
    EXPECT_TRUE(TmpFile.isEmpty());
}

// The file name --------------------------------------------------------------------------------

class TempTmpFileName_Gui : public ::testing::TestWithParam<const char *> {};

TEST_P(TempTmpFileName_Gui, ShortNameMeansTempTmpInTheCurrentFolder)
{
    TempDir dir;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    TmpFile = QString::fromUtf8(GetParam());
    TF_Quorvel form;
    {
        TTempTmp store(&form);
        store.WriteInteger(QStringLiteral("N"), 1);
    }
    const QString expected = QDir::toNativeSeparators(QDir(dir.path()).filePath("Temp.tmp"));
    EXPECT_EQ(TmpFile, expected);
    EXPECT_TRUE(QFile::exists(expected));
    // It stays so: the next store uses the same file even from another folder.
    ASSERT_TRUE(QDir::setCurrent(previous));
    EXPECT_EQ(TTempTmp(&form).FileName(), expected);
    EXPECT_EQ(TTempTmp(&form).ReadInteger(QStringLiteral("N"), 0), 1);
    TmpFile.clear();
}

INSTANTIATE_TEST_SUITE_P(Names, TempTmpFileName_Gui, ::testing::Values("", "x"), [](const auto &p) {
    return std::string(*p.param ? "OneCharacter" : "Empty");
});

TEST_F(StateFile, TwoCharacterNameIsKept)
{
    TmpFile = dir.file(QStringLiteral("ab"));
    QObject source;
    EXPECT_EQ(TTempTmp(&source).FileName(), dir.file(QStringLiteral("ab")));
}

// Bounds -----------------------------------------------------------------------------------

class TempTmpBounds_Gui : public StateFile {};

void makeFixed(QWidget &w, int kind)
{
    switch (kind) {
    case 0:
        w.setFixedSize(w.size());
        break;
    case 1:
        w.setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
        break;
    default:
        w.setWindowFlag(Qt::FramelessWindowHint);
        break;
    }
}

class TempTmpFixedBorder_Gui : public StateFile, public ::testing::WithParamInterface<int> {};

TEST_P(TempTmpFixedBorder_Gui, FixedBorderSavedAfterSizeableLosesWidthAndHeight)
{
    TF_Quorvel form;
    form.setGeometry(50, 60, 400, 300);
    TTempTmp(&form).SaveBounds();
    EXPECT_EQ(section(), (QStringList{"Left=50", "Top=60", "Width=400", "Height=300"}));
    makeFixed(form, GetParam());
    form.setGeometry(70, 80, 400, 300);
    TTempTmp(&form).SaveBounds();
    EXPECT_EQ(section(), (QStringList{"Left=70", "Top=80"}));
    // Loading keeps the size the window has.
    TF_Quorvel again;
    again.resize(200, 100);
    TTempTmp(&again).LoadBounds(0);
    EXPECT_EQ(again.geometry(), QRect(70, 80, 200, 100));
}

std::string fixedKindName(int kind)
{
    static const char *const names[] = {"FixedSize", "FixedSizeDialogHint", "Frameless"};
    return names[kind];
}

INSTANTIATE_TEST_SUITE_P(Kinds, TempTmpFixedBorder_Gui, ::testing::Values(0, 1, 2),
                         [](const auto &p) { return fixedKindName(p.param); });

TEST_F(TempTmpBounds_Gui, ControlThatIsNotAWindowKeepsItsSizeAndIsNotClamped)
{
    FakeScreens screens(twoMonitors(QPoint()));
    QWidget parent;
    auto *panel = new QFrame(&parent);
    panel->setGeometry(5, 6, 70, 80);
    panel->setFixedSize(70, 80);
    QWidget &source = *panel;
    TTempTmp(&source).SaveBounds();
    EXPECT_EQ(section(QStringLiteral("tests_common.QFrame")),
              (QStringList{"Left=5", "Top=6", "Width=70", "Height=80"}));
    IniFile(TmpFile).writeInteger(QStringLiteral("tests_common.QFrame"), QStringLiteral("Left"),
                                  90000);
    TTempTmp(&source).LoadBounds(0);
    EXPECT_EQ(panel->pos(), QPoint(90000, 6));
}

TEST_F(TempTmpBounds_Gui, MaximisedWindowStoresItsRestoredBoundsAndLoadsBackMaximised)
{
    FakeScreens screens(twoMonitors(QPoint()));
    {
        TF_Quorvel form;
        form.setGeometry(100, 120, 640, 480);
        form.show();
        form.showMaximized();
        ASSERT_TRUE(waitUntil([&] { return form.geometry() != QRect(100, 120, 640, 480); }));
        TTempTmp(&form).SaveBounds();
    }
    EXPECT_EQ(section(), (QStringList{"WindowState=wsMaximized", "Left=100", "Top=120", "Width=640",
                                      "Height=480"}));
    TF_Quorvel form;
    TTempTmp(&form).LoadBounds(0);
    form.show();
    EXPECT_TRUE(form.isMaximized());
    EXPECT_EQ(form.normalGeometry(), QRect(100, 120, 640, 480));
    // Restored, it takes the stored bounds; saved again, the state key goes.
    form.showNormal();
    ASSERT_TRUE(waitUntil([&] { return form.geometry() == QRect(100, 120, 640, 480); }))
        << str(form.geometry());
    TTempTmp(&form).SaveBounds();
    EXPECT_EQ(section(), (QStringList{"Left=100", "Top=120", "Width=640", "Height=480"}));
}

TEST_F(TempTmpBounds_Gui, UnknownStateNameIsIgnoredAndNormalRestores)
{
    TF_Quorvel form;
    form.setWindowState(Qt::WindowMaximized);
    IniFile ini(TmpFile);
    ini.writeString(kSection, QStringLiteral("WindowState"), QStringLiteral("wsBogus"));
    TTempTmp(&form).LoadBounds(0);
    EXPECT_TRUE(form.windowState().testFlag(Qt::WindowMaximized));
    ini.writeString(kSection, QStringLiteral("WindowState"), QStringLiteral("wsNormal"));
    TTempTmp(&form).LoadBounds(0);
    EXPECT_EQ(form.windowState(), Qt::WindowNoState);
    ini.writeString(kSection, QStringLiteral("WindowState"), QStringLiteral("wsMinimized"));
    TTempTmp(&form).LoadBounds(0);
    EXPECT_EQ(form.windowState(), Qt::WindowMinimized);
}

TEST_F(TempTmpBounds_Gui, PositionFarOutsideTheMonitorsIsPulledBack)
{
    FakeScreens screens(twoMonitors(QPoint()));
    IniFile ini(TmpFile);
    struct {
        QRect stored;
        QRect loaded;
    } const table[] = {
        {QRect(90000, 70000, 640, 480), QRect(3200, 600, 640, 480)},
        {QRect(-90000, -70000, 640, 480), QRect(0, 0, 640, 480)},
        {QRect(10, 10, 9000, 9000), QRect(0, 0, 3840, 1080)},
        {QRect(2000, 100, 640, 480), QRect(2000, 100, 640, 480)},
    };
    for (const auto &row : table) {
        ini.writeInteger(kSection, QStringLiteral("Left"), row.stored.left());
        ini.writeInteger(kSection, QStringLiteral("Top"), row.stored.top());
        ini.writeInteger(kSection, QStringLiteral("Width"), row.stored.width());
        ini.writeInteger(kSection, QStringLiteral("Height"), row.stored.height());
        TF_Quorvel form;
        TTempTmp(&form).LoadBounds(0);
        EXPECT_EQ(form.geometry(), row.loaded) << str(row.stored);
    }
}

TEST_F(TempTmpBounds_Gui, MissingOrUnreadableKeysKeepTheCurrentBounds)
{
    FakeScreens screens(twoMonitors(QPoint()));
    IniFile(TmpFile).writeString(kSection, QStringLiteral("Width"), QStringLiteral("wide"));
    IniFile(TmpFile).writeString(kSection, QStringLiteral("Left"), QStringLiteral("300"));
    TF_Quorvel form;
    form.setGeometry(10, 20, 330, 220);
    TTempTmp(&form).LoadBounds(0);
    EXPECT_EQ(form.geometry(), QRect(300, 20, 330, 220));
}

TEST_F(TempTmpBounds_Gui, LeftTopOfAControl)
{
    TF_Quorvel form;
    auto *panel = new QFrame(&form);
    panel->setObjectName(QStringLiteral("pnTools"));
    panel->move(15, 25);
    TTempTmp(&form).SaveLeftTop(panel);
    EXPECT_EQ(section(), (QStringList{"pnTools.Left=15", "pnTools.Top=25"}));
    panel->move(99, 99);
    TTempTmp(&form).LoadLeftTop(panel);
    EXPECT_EQ(panel->pos(), QPoint(15, 25));
    TTempTmp(&form).EraseSection();
    TTempTmp(&form).LoadLeftTop(panel);
    EXPECT_EQ(panel->pos(), QPoint(0, 0));
}

// Columns ----------------------------------------------------------------------------------

class TempTmpColumns_Gui : public StateFile {};

TEST_F(TempTmpColumns_Gui, ListViewColumnWidths)
{
    TF_Quorvel form;
    auto *lv = new QTreeWidget(&form);
    lv->setObjectName(QStringLiteral("lvSend"));
    lv->setColumnCount(3);
    lv->setColumnWidth(0, 50);
    lv->setColumnWidth(1, 120);
    lv->setColumnWidth(2, 80);
    TTempTmp(&form).SaveColumnListView(lv);
    EXPECT_EQ(section(), (QStringList{"lvSend.Columns[0].Width=50", "lvSend.Columns[1].Width=120",
                                      "lvSend.Columns[2].Width=80"}));

    // More columns than stored: the extra one keeps its width. Fewer: extra keys are ignored.
    auto *wider = new QTreeWidget(&form);
    wider->setObjectName(QStringLiteral("lvSend"));
    wider->setColumnCount(4);
    wider->setColumnWidth(3, 33);
    TTempTmp(&form).LoadColumnListView(wider);
    EXPECT_EQ(wider->columnWidth(0), 50);
    EXPECT_EQ(wider->columnWidth(1), 120);
    EXPECT_EQ(wider->columnWidth(2), 80);
    EXPECT_EQ(wider->columnWidth(3), 33);
    auto *narrow = new QTreeWidget(&form);
    narrow->setObjectName(QStringLiteral("lvSend"));
    narrow->setColumnCount(2);
    narrow->header()->setStretchLastSection(false);
    TTempTmp(&form).LoadColumnListView(narrow);
    EXPECT_EQ(narrow->columnWidth(0), 50);
    EXPECT_EQ(narrow->columnWidth(1), 120);
    EXPECT_EQ(narrow->columnCount(), 2);
}

TEST_F(TempTmpColumns_Gui, GridColumnWidths)
{
    TF_Quorvel form;
    auto *sg = new QTableWidget(2, 3, &form);
    sg->setObjectName(QStringLiteral("SG"));
    sg->setColumnWidth(0, 30);
    sg->setColumnWidth(1, 140);
    sg->setColumnWidth(2, 75);
    TTempTmp(&form).SaveColumnStringGrid(sg);
    EXPECT_EQ(section(),
              (QStringList{"SG.ColWidths[0]=30", "SG.ColWidths[1]=140", "SG.ColWidths[2]=75"}));
    IniFile(TmpFile).writeString(kSection, QStringLiteral("SG.ColWidths[2]"), QStringLiteral("?"));
    auto *other = new QTableWidget(2, 3, &form);
    other->setObjectName(QStringLiteral("SG"));
    other->setColumnWidth(2, 61);
    TTempTmp(&form).LoadColumnStringGrid(other);
    EXPECT_EQ(other->columnWidth(0), 30);
    EXPECT_EQ(other->columnWidth(1), 140);
    EXPECT_EQ(other->columnWidth(2), 61);
}

// Component values -----------------------------------------------------------------------

// A form with one control of each kind inside a panel, and controls the store must skip.
struct ValueForm {
    ValueForm()
    {
        auto *panel = new QFrame(&form);
        panel->setObjectName(QStringLiteral("pnParams"));
        edName = make<QLineEdit>(panel, "edName");
        sbBold = make<QToolButton>(panel, "sbBold");
        sbBold->setCheckable(true);
        cbAll = make<QCheckBox>(&form, "cbAll");
        seCount = make<QSpinBox>(panel, "seCount");
        seCount->setRange(0, 1000);
        tbItalic = make<QToolButton>(&form, "tbItalic");
        tbItalic->setCheckable(true);
        make<QToolButton>(&form, "tbPlain");
        make<QDoubleSpinBox>(&form, "dsRate");
        new QLineEdit(&form);
    }
    template <class W> W *make(QWidget *parent, const char *name)
    {
        auto *w = new W(parent);
        w->setObjectName(QString::fromUtf8(name));
        return w;
    }

    TF_Quorvel form;
    QLineEdit *edName;
    QToolButton *sbBold;
    QCheckBox *cbAll;
    QSpinBox *seCount;
    QToolButton *tbItalic;
};

class TempTmpComponents_Gui : public StateFile {};

TEST_F(TempTmpComponents_Gui, ValuesOfTheFiveKindsRoundTripInTheirOrder)
{
    ValueForm saved;
    saved.edName->setText(QStringLiteral("Иванов = И.И."));
    saved.sbBold->setChecked(true);
    saved.cbAll->setChecked(true);
    saved.seCount->setValue(42);
    TTempTmp(&saved.form).SaveComponentsValue();
    EXPECT_EQ(section(), (QStringList{"edName=Иванов = И.И.", "sbBold=1", "seCount=42", "cbAll=1",
                                      "tbItalic=0"}));

    ValueForm loaded;
    loaded.tbItalic->setChecked(true);
    TTempTmp(&loaded.form).LoadComponentsValue(&loaded.form);
    EXPECT_EQ(loaded.edName->text(), QStringLiteral("Иванов = И.И."));
    EXPECT_TRUE(loaded.sbBold->isChecked());
    EXPECT_TRUE(loaded.cbAll->isChecked());
    EXPECT_EQ(loaded.seCount->value(), 42);
    EXPECT_FALSE(loaded.tbItalic->isChecked());
}

TEST_F(TempTmpComponents_Gui, MissingOrUnreadableValuesKeepTheControls)
{
    IniFile(TmpFile).writeString(kSection, QStringLiteral("seCount"), QStringLiteral("many"));
    IniFile(TmpFile).writeString(kSection, QStringLiteral("cbAll"), QStringLiteral("yes"));
    ValueForm form;
    form.edName->setText(QStringLiteral("был"));
    form.seCount->setValue(7);
    form.cbAll->setChecked(true);
    TTempTmp(&form.form).LoadComponentsValue();
    EXPECT_EQ(form.edName->text(), QStringLiteral("был"));
    EXPECT_EQ(form.seCount->value(), 7);
    EXPECT_TRUE(form.cbAll->isChecked());
}

TEST_F(TempTmpSection_Gui, GarbageFileGivesTheCurrentValuesAndStaysWritable)
{
    QByteArray garbage;
    quint32 x = 12345;
    for (int i = 0; i < 50000; ++i) {
        x = x * 1103515245u + 12345u;
        garbage += char(x >> 24);
    }
    garbage +=
        "\n[tests_common.TF_Quorvel]\nLeft=\xFF\xFE\nTop==7\nWidth= \nedName\nseCount=0x\n[" +
        QByteArray(70000, '[');
    {
        QFile file(TmpFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    FakeScreens screens(twoMonitors(QPoint()));
    ValueForm form;
    form.form.setGeometry(11, 12, 313, 214);
    form.edName->setText(QStringLiteral("как было"));
    form.seCount->setValue(3);
    TTempTmp store(&form.form);
    store.LoadBounds(0);
    store.LoadComponentsValue();
    EXPECT_EQ(form.form.geometry(), QRect(11, 12, 313, 214));
    EXPECT_EQ(form.edName->text(), QStringLiteral("как было"));
    EXPECT_EQ(form.seCount->value(), 3);
    store.SaveBounds();
    EXPECT_EQ(section(),
              (QStringList{"Left=11", "Top=12", "Width=313", "seCount=0x", "Height=214"}));
}

// Refused writes ------------------------------------------------------------------------------

TEST(TempTmpRefused_Gui, FileInAMissingFolderRaisesAndReadsGiveDefaults)
{
    TempDir dir;
    TmpFile = dir.file(QStringLiteral("missing/Temp.tmp"));
    TF_Quorvel form;
    form.setGeometry(1, 2, 300, 200);
    TTempTmp store(&form);
    try {
        store.SaveBounds();
        ADD_FAILURE() << "the write was not refused";
    } catch (const EIniFileException &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Unable to write to ") + TmpFile);
    }
    store.LoadBounds(0);
    EXPECT_EQ(form.geometry(), QRect(1, 2, 300, 200));
    TmpFile.clear();
}

// The file system refuses to let the file grow past a limit, part-way through an operation.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST_F(TempTmpComponents_Gui, RefusedWriteStopsTheSaveAndKeepsTheKeysWrittenBefore)
{
    IniFile(TmpFile).writeString(QStringLiteral("Login"), QStringLiteral("Name"),
                                 QStringLiteral("demo"));
    TF_Quorvel form;
    QList<QLineEdit *> edits;
    for (int i = 0; i < 20; ++i) {
        auto *edit = new QLineEdit(QString(100, QChar(u'a' + i)), &form);
        edit->setObjectName(QStringLiteral("ed%1").arg(i));
        edits.append(edit);
    }
    const qint64 before = QFile(TmpFile).size();
    bool refused = false;
    {
        FileSizeLimit limit(rlim_t(before + 600));
        try {
            TTempTmp(&form).SaveComponentsValue();
        } catch (const EIniFileException &e) {
            refused = true;
            EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Unable to write to ") + TmpFile);
        }
    }
    ASSERT_TRUE(refused);
    const QStringList keys = IniFile(TmpFile).readSection(kSection);
    ASSERT_GE(keys.size(), 1);
    ASSERT_LT(keys.size(), 20);
    for (int i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i], QStringLiteral("ed%1").arg(i));
        EXPECT_EQ(IniFile(TmpFile).readString(kSection, keys[i], {}), edits[i]->text());
    }
    EXPECT_EQ(IniFile(TmpFile).readString(QStringLiteral("Login"), QStringLiteral("Name"), {}),
              QStringLiteral("demo"));
}

} // namespace

#include "TempTmpTest.moc"
