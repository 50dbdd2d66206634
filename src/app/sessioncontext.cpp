#include "sessioncontext.h"

#include "channels/channelcatalog.h"
#include "foundation/filewriters.h"
#include "platform/userinterface.h"
#include "protocol/quibsession.h"
#include "replyrecords.h"
#include "resulttexts.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <memory>

namespace {
struct SupportState
{
    HttpTransfer* transfer = nullptr;
    std::unique_ptr<QuibSession> session;
    SyncReplyRecords records;
    ReplyRecordConsumer* consumer = nullptr;
    std::unique_ptr<SettingsStore> settings;
};

SupportState& state()
{
    static SupportState s;
    return s;
}
} // namespace

void kov::setSharedTransfer(HttpTransfer* transfer)
{
    state().transfer = transfer;
}

void kov::setRecordConsumer(ReplyRecordConsumer* consumer)
{
    state().consumer = consumer;
}

QuibSession* kov::sharedSession()
{
    return state().session.get();
}

QuibSession* kov::openSharedSession()
{
    SupportState& s = state();
    if (!s.session) {
        s.session = std::make_unique<QuibSession>();
        if (!s.session->setTransfer(s.transfer))
            return nullptr;
    }
    return s.session.get();
}

void kov::handOverTransferAgain()
{
    SupportState& s = state();
    if (s.session && !s.session->hasTransfer())
        s.session->setTransfer(s.transfer);
}

ReplyRecordConsumer* kov::recordConsumer()
{
    SupportState& s = state();
    return s.consumer ? s.consumer : &s.records;
}

void kov::resetSupport()
{
    kov::clearStopRequest();
    kov::takeWriteFailure();
    state().session.reset();
    state().consumer = nullptr;
    state().settings.reset();
    kov::forgetResultTexts();
    kov::resetChannelCatalog();
}

SettingsStore& kov::sharedSettings()
{
    if (!state().settings) {
        state().settings = std::make_unique<SettingsStore>();
        state().settings->setKey(kov::settingsKey(), QString());
    }
    return *state().settings;
}
