#include "common/MessageTypes.h"

#include <QCoreApplication>

QString MsgDlgTitle(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QStringLiteral("Предупреждение");
    case TMsgDlgType::mtError:
        return QStringLiteral("Ошибка");
    case TMsgDlgType::mtInformation:
        return QStringLiteral("Информация");
    case TMsgDlgType::mtConfirmation:
        return QStringLiteral("Подтверждение");
    case TMsgDlgType::mtCustom:
        break;
    }
    return QCoreApplication::applicationName();
}

namespace {
struct ButtonInfo {
    const char16_t *caption;
    int result;
};

// Indexed by the button's ordinal.
constexpr ButtonInfo kButtons[] = {
    {u"&Да", mrYes},
    {u"&Нет", mrNo},
    {u"OK", mrOk},
    {u"Отмена", mrCancel},
    {u"Прервать", mrAbort},
    {u"Повторить", mrRetry},
    {u"&Игнорировать", mrIgnore},
    {u"&All", mrAll},
    {u"Нет для всех", mrNoToAll},
    {u"Да для всех", mrYesToAll},
    {u"&Помощь", mrNone},
    {u"&Закрыть", mrClose},
};
} // namespace

QString MsgDlgButtonCaption(TMsgDlgBtn button)
{
    return QString::fromUtf16(kButtons[int(button)].caption);
}

int MsgDlgButtonResult(TMsgDlgBtn button)
{
    return kButtons[int(button)].result;
}

QList<TMsgDlgBtn> MsgDlgButtonList(TMsgDlgButtons buttons)
{
    QList<TMsgDlgBtn> list;
    for (int i = 0; i <= int(TMsgDlgBtn::mbClose); ++i)
        if (buttons.contains(TMsgDlgBtn(i)))
            list.append(TMsgDlgBtn(i));
    return list;
}
