#include "mail/MailingRun.h"

#include "common/ThreadChecks.h"
#include "mail/ReportMailing.h"
#include "mail/SmtpError.h"
#include "mail/SmtpStop.h"

namespace {
TSmtpSettings withStop(TSmtpSettings Settings)
{
    Settings.Stop = std::make_shared<TSmtpStop>();
    return Settings;
}
} // namespace

TMailingRun::TMailingRun(TSmtpSettings Settings, std::vector<TMailMessage> Messages,
                         QObject *Parent)
    : QObject(Parent), FSettings(withStop(std::move(Settings))), FMessages(std::move(Messages))
{
}

TMailingRun::~TMailingRun()
{
    Stop();
    if (FThread) {
        FThread->wait();
        TakeOver(this);
    }
}

void TMailingRun::Start()
{
    if (FThread)
        return;
    FThread.reset(QThread::create([this] {
        Pass();
        HandOver(this);
    }));
    FThread->start();
}

void TMailingRun::Stop()
{
    FSettings.Stop->Request();
}

bool TMailingRun::Running() const
{
    return FThread && FThread->isRunning();
}

void TMailingRun::Pass()
{
    bool stopped = false;
    for (std::size_t i = 0; i < FMessages.size(); ++i) {
        if (FSettings.Stop->Requested()) {
            stopped = true;
            break;
        }
        const int index = int(i);
        emit Serving(index);
        TDelivery delivery;
        delivery.Index = index;
        try {
            const TSmtpSent sent = DeliverMessage(FSettings, FMessages[i]);
            delivery.Sent = true;
            delivery.Text = sent.Reply;
            delivery.Bytes = sent.Bytes;
        } catch (const ESmtpStopped &e) {
            delivery.Text = e.Message();
            stopped = true;
        } catch (const std::exception &e) {
            delivery.Text = QString::fromUtf8(e.what());
        }
        emit Delivered(delivery);
        if (!delivery.Sent)
            break;
    }
    emit Finished(stopped);
}
