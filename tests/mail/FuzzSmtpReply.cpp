// The SMTP reply reader on arbitrary bytes received: lines are taken out one by one and joined
// into replies until one is malformed.
#include "mail/SmtpConnection.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray buffer(reinterpret_cast<const char *>(data), qsizetype(size));
    TSmtpReply reply;
    while (std::optional<QByteArray> line = TakeReplyLine(buffer)) {
        bool last = false;
        if (!AddReplyLine(reply, *line, last))
            break;
        if (reply.Code < 0 || reply.Code > 999)
            std::abort();
        if (last)
            reply = TSmtpReply();
    }
    return 0;
}
