#include "common/MessageDialogs.h"
#include "common/ErrorOraForm.h"
#include "tests/common/GuiHelpers.h"
#include "tests/support/DialogScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct TypeCase {
    const char *name;
    TMsgDlgType type;
    const char *title;
    QStyle::StandardPixmap icon; // meaningless for custom, which has none
    QMessageBox::Icon boxIcon;
};

void PrintTo(const TypeCase &c, std::ostream *os)
{
    *os << c.name;
}

const TypeCase kTypes[] = {
    {"warning", TMsgDlgType::mtWarning, "Предупреждение", QStyle::SP_MessageBoxWarning,
     QMessageBox::Warning},
    {"error", TMsgDlgType::mtError, "Ошибка", QStyle::SP_MessageBoxCritical, QMessageBox::Critical},
    {"information", TMsgDlgType::mtInformation, "Информация", QStyle::SP_MessageBoxInformation,
     QMessageBox::Information},
    {"confirmation", TMsgDlgType::mtConfirmation, "Подтверждение", QStyle::SP_MessageBoxQuestion,
     QMessageBox::Question},
    {"custom", TMsgDlgType::mtCustom, "quorvel", QStyle::SP_CustomBase, QMessageBox::NoIcon},
};

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(32).toImage();
}

QAbstractButton *buttonCaptioned(QMessageBox *box, const QString &caption)
{
    for (QAbstractButton *b : box->buttons())
        if (b->text() == caption)
            return b;
    ADD_FAILURE() << "no button " << caption.toStdString();
    return nullptr;
}

QStringList captions(QMessageBox *box)
{
    QStringList list;
    for (QAbstractButton *b : box->buttons())
        list.append(b->text());
    list.sort();
    return list;
}

// What the seam reports -------------------------------------------------------------------

class MessageSeam : public ::testing::TestWithParam<TypeCase> {};

TEST_P(MessageSeam, MyMessageReportsTitleTypeTextAndDetailButton)
{
    const TypeCase &c = GetParam();
    DialogScript script;
    script.answer(mrOk).answer(mrOk);
    MyMessage(QStringLiteral("Сбой"), QString(), c.type);
    MyMessage(QStringLiteral("Сбой"), QStringLiteral("select 1 from dual"), c.type);
    ASSERT_EQ(script.shown().size(), 2);
    for (const ShownDialog &shown : script.shown()) {
        EXPECT_EQ(shown.kind, QStringLiteral("message"));
        EXPECT_EQ(shown.title, QString::fromUtf8(c.title));
        EXPECT_EQ(shown.type, c.type);
        EXPECT_EQ(shown.text, QStringLiteral("Сбой"));
    }
    EXPECT_EQ(script.shown()[0].buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(script.shown()[1].detail, QStringLiteral("select 1 from dual"));
    EXPECT_EQ(script.shown()[1].buttons,
              (QStringList{QStringLiteral("OK"), QStringLiteral("Дополнительно  >>")}));
}

TEST_P(MessageSeam, MyMessageDlgReportsTitleAndType)
{
    const TypeCase &c = GetParam();
    DialogScript script;
    script.answer(mrOk);
    EXPECT_EQ(MyMessageDlg(QStringLiteral("Текст"), c.type, {TMsgDlgBtn::mbOK}, 0), mrOk);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].kind, QStringLiteral("dialog"));
    EXPECT_EQ(script.shown()[0].title, QString::fromUtf8(c.title));
    EXPECT_EQ(script.shown()[0].type, c.type);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Текст"));
}

std::string typeName(const ::testing::TestParamInfo<TypeCase> &p)
{
    return p.param.name;
}

INSTANTIATE_TEST_SUITE_P(Types, MessageSeam, ::testing::ValuesIn(kTypes), typeName);

TEST(MessageSeamErrors, ErrorMessageIsAnErrorWithoutDetailButtonWhenDetailIsEmpty)
{
    DialogScript script;
    script.answer(mrOk);
    ErrorMessage(QStringLiteral("Ошибка записи в БД"), QString());
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Ошибка"));
    EXPECT_FALSE(script.shown()[0].buttons.contains(QStringLiteral("Дополнительно  >>")));
}

TEST(MessageSeamButtons, CaptionsFollowTheOrderOfTheSetNotOfTheCall)
{
    DialogScript script;
    script.answer(mrClose);
    EXPECT_EQ(MyMessageDlg(QString(), TMsgDlgType::mtWarning,
                           {TMsgDlgBtn::mbClose, TMsgDlgBtn::mbHelp, TMsgDlgBtn::mbOK,
                            TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNoToAll},
                           0),
              mrClose);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(
        script.shown()[0].buttons,
        (QStringList{QStringLiteral("&Да"), QStringLiteral("OK"), QStringLiteral("Нет для всех"),
                     QStringLiteral("&Помощь"), QStringLiteral("&Закрыть")}));
}

TEST(MessageSeamButtons, CaptionsAndResultsOfEveryButton)
{
    struct {
        TMsgDlgBtn button;
        const char *caption;
        int result;
    } const table[] = {
        {TMsgDlgBtn::mbYes, "&Да", 6},
        {TMsgDlgBtn::mbNo, "&Нет", 7},
        {TMsgDlgBtn::mbOK, "OK", 1},
        {TMsgDlgBtn::mbCancel, "Отмена", 2},
        {TMsgDlgBtn::mbAbort, "Прервать", 3},
        {TMsgDlgBtn::mbRetry, "Повторить", 4},
        {TMsgDlgBtn::mbIgnore, "&Игнорировать", 5},
        {TMsgDlgBtn::mbAll, "&All", 12},
        {TMsgDlgBtn::mbNoToAll, "Нет для всех", 13},
        {TMsgDlgBtn::mbYesToAll, "Да для всех", 14},
        {TMsgDlgBtn::mbHelp, "&Помощь", 0},
        {TMsgDlgBtn::mbClose, "&Закрыть", 8},
    };
    for (const auto &row : table) {
        EXPECT_EQ(MsgDlgButtonCaption(row.button), QString::fromUtf8(row.caption));
        EXPECT_EQ(MsgDlgButtonResult(row.button), row.result) << row.caption;
    }
}

// The real error window ---------------------------------------------------------------------

TEST(ErrorWindow_Gui, LayoutAndTwoDetailPressesRestoreSizeAndCaption)
{
    TErrorOraForm form;
    form.setLastMessage(QStringLiteral("select * from dual"));
    form.show();
    const QSize first = form.size();
    EXPECT_EQ(first, QSize(348, 97 + 41));
    EXPECT_EQ(form.pnFirst->geometry(), QRect(0, 0, 348, 97));
    EXPECT_EQ(form.pnButton->geometry(), QRect(0, 97, 348, 41));
    EXPECT_EQ(form.btOk->geometry(), QRect(136, 8, 75, 25));
    EXPECT_EQ(form.btDop->geometry(), QRect(224, 8, 115, 25));
    EXPECT_TRUE(form.mmFirst->isReadOnly());

    form.btDop->click();
    ASSERT_NE(form.pnLast, nullptr);
    EXPECT_EQ(form.btDop->text(), QStringLiteral("Дополнительно  <<"));
    EXPECT_EQ(form.pnLast->geometry(), QRect(0, 97 + 41 + 1, 348, 97));
    EXPECT_TRUE(form.pnLast->isVisible());
    EXPECT_EQ(form.height(), form.pnLast->geometry().bottom() + 1);
    const auto *memo = form.pnLast->findChild<QPlainTextEdit *>(QStringLiteral("mmLast"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("select * from dual"));
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    form.btDop->click();
    EXPECT_EQ(form.pnLast, nullptr);
    EXPECT_EQ(form.btDop->text(), QStringLiteral("Дополнительно  >>"));
    EXPECT_EQ(form.size(), first);
    EXPECT_EQ(form.findChild<QPlainTextEdit *>(QStringLiteral("mmLast")), nullptr);
}

TEST(ErrorWindow_Gui, FirstMessageKeepsItsLineBreaks)
{
    TErrorOraForm form;
    form.SetFirstMessage(QStringLiteral("первая\r\nвторая\rтретья"));
    EXPECT_EQ(form.FirstMessage(), QStringLiteral("первая\nвторая\nтретья"));
    EXPECT_EQ(form.mmFirst->document()->blockCount(), 3);
}

class ErrorWindowTypes_Gui : public ::testing::TestWithParam<TypeCase> {};

TEST_P(ErrorWindowTypes_Gui, RealWindowShowsTitleIconTextAndDetailButtonOnlyWithDetail)
{
    const TypeCase &c = GetParam();
    RealDialogs real;
    for (const QString &detail : {QString(), QStringLiteral("ORA-00942")}) {
        ModalDriver driver({[&](QWidget *w) {
            auto *form = qobject_cast<TErrorOraForm *>(w);
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->windowTitle(), QString::fromUtf8(c.title));
            if (c.type == TMsgDlgType::mtCustom)
                EXPECT_TRUE(form->windowIcon().isNull());
            else
                EXPECT_EQ(iconImage(form->windowIcon()),
                          iconImage(form->style()->standardIcon(c.icon)));
            EXPECT_EQ(form->btDop->isVisible(), !detail.isEmpty());
            EXPECT_EQ(form->FirstMessage(), QStringLiteral("Нет связи\nс сервером"));
            EXPECT_EQ(form->LastMessage(), detail);
            form->btOk->click();
        }});
        MyMessage(QStringLiteral("Нет связи\r\nс сервером"), detail, c.type);
        EXPECT_EQ(driver.stepsDone(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Types, ErrorWindowTypes_Gui, ::testing::ValuesIn(kTypes), typeName);

TEST(ErrorWindowPlacement_Gui, OnTwoMonitorsTheWindowComesUnderThePointer)
{
    RealDialogs real;
    const QPoint cursor(2500, 600);
    FakeScreens screens(twoMonitors(cursor));
    ModalDriver driver({[&](QWidget *w) {
        EXPECT_TRUE(w->frameGeometry().contains(cursor)) << str(w->frameGeometry());
        qobject_cast<TErrorOraForm *>(w)->btOk->click();
    }});
    ErrorMessage(QStringLiteral("Ошибка"), QString());
}

TEST(ErrorWindowPlacement_Gui, OnOneMonitorTheWindowStaysCentred)
{
    RealDialogs real;
    FakeScreens screens(oneMonitor(QPoint(5, 5)));
    TErrorOraForm reference;
    const QPoint centred = reference.pos();
    ModalDriver driver({[&](QWidget *w) {
        EXPECT_EQ(w->pos(), centred);
        qobject_cast<TErrorOraForm *>(w)->btOk->click();
    }});
    ErrorMessage(QStringLiteral("Ошибка"), QString());
}

// The real message box ----------------------------------------------------------------------

struct AnswerCase {
    const char *caption;
    int result;
};

void PrintTo(const AnswerCase &c, std::ostream *os)
{
    *os << c.caption;
}

class MessageBoxAnswers_Gui : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(MessageBoxAnswers_Gui, YesAndNoOfTheRealBox)
{
    RealDialogs real;
    ModalDriver driver({[&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Подтверждение"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->text(), QStringLiteral("Выйти?"));
        EXPECT_EQ(captions(box), (QStringList{QStringLiteral("&Да"), QStringLiteral("&Нет")}));
        if (QAbstractButton *b = buttonCaptioned(box, QString::fromUtf8(GetParam().caption)))
            b->click();
    }});
    EXPECT_EQ(MyMessageDlg(QStringLiteral("Выйти?"), TMsgDlgType::mtConfirmation,
                           {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 0),
              GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MessageBoxAnswers_Gui,
                         ::testing::Values(AnswerCase{"&Да", 6}, AnswerCase{"&Нет", 7}),
                         [](const auto &p) { return p.param.result == 6 ? "Yes" : "No"; });

TEST(MessageBox_Gui, TitleAndIconPerType)
{
    RealDialogs real;
    for (const TypeCase &c : kTypes) {
        ModalDriver driver({[&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QString::fromUtf8(c.title));
            EXPECT_EQ(box->icon(), c.boxIcon);
            buttonCaptioned(box, QStringLiteral("OK"))->click();
        }});
        EXPECT_EQ(MyMessageDlg(QStringLiteral("x"), c.type, {TMsgDlgBtn::mbOK}, 0), mrOk);
    }
}

TEST(MessageBox_Gui, HelpDoesNotCloseTheBox)
{
    RealDialogs real;
    ModalDriver driver(
        {[](QWidget *w) {
             buttonCaptioned(qobject_cast<QMessageBox *>(w), QStringLiteral("&Помощь"))->click();
         },
         [](QWidget *w) {
             buttonCaptioned(qobject_cast<QMessageBox *>(w), QStringLiteral("&Нет"))->click();
         }});
    EXPECT_EQ(MyMessageDlg(QStringLiteral("?"), TMsgDlgType::mtConfirmation,
                           {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbHelp}, 0),
              mrNo);
}

TEST(MessageBox_Gui, OnTwoMonitorsABoxNearTheRightEdgeEndsFlushWithIt)
{
    RealDialogs real;
    const ScreenLayout layout = twoMonitors(QPoint(3830, 1075));
    FakeScreens screens(layout);
    ModalDriver driver({[&](QWidget *w) {
        const QRect frame = w->frameGeometry();
        EXPECT_EQ(frame.left() + frame.width(), 3840) << str(frame);
        EXPECT_EQ(frame.top() + frame.height(), 1080) << str(frame);
        buttonCaptioned(qobject_cast<QMessageBox *>(w), QStringLiteral("OK"))->click();
    }});
    MyMessageDlg(QStringLiteral("Готово"), TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 0);
}

TEST(MessageBox_Gui, OnTwoMonitorsTheBoxOpensAtThePointer)
{
    RealDialogs real;
    FakeScreens screens(twoMonitors(QPoint(2000, 300)));
    ModalDriver driver({[&](QWidget *w) {
        EXPECT_EQ(w->frameGeometry().topLeft(), QPoint(2000, 300));
        buttonCaptioned(qobject_cast<QMessageBox *>(w), QStringLiteral("OK"))->click();
    }});
    MyMessageDlg(QStringLiteral("Готово"), TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 0);
}

} // namespace
