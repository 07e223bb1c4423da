#include "db/OracleError.h"

EOracleError::EOracleError(const QString &Message, int ErrorCode, const QString &NativeCode,
                           const QObject *Instance, const TOracleSession *Session)
    : std::runtime_error(Message.toStdString()), message_(Message), errorCode_(ErrorCode),
      nativeCode_(NativeCode), instance_(Instance), session_(Session)
{
}

QString ExceptionText(const std::exception &e)
{
    if (const auto *oracle = dynamic_cast<const EOracleError *>(&e))
        return oracle->Message();
    return QString::fromUtf8(e.what());
}
