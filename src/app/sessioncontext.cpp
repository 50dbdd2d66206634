#include "sessioncontext.h"

#include "channels/cquibchannelmanager.h"
#include "foundation/filewriters.h"
#include "platform/userinterface.h"
#include "protocol/cquibsession.h"
#include "replyrecords.h"
#include "resulttexts.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"

#include <memory>

namespace {
struct SupportState
{
    HttpTransfer* transfer = nullptr;
    std::unique_ptr<CQuibSession> session;
    SyncReplyRecords records;
    ReplyRecordConsumer* consumer = nullptr;
    std::unique_ptr<CKovReg> settings;
};

SupportState& state()
{
    static SupportState s;
    return s;
}
} // namespace

void kov_SetTransferComponent(HttpTransfer* component)
{
    state().transfer = component;
}

void kov_SetRecordConsumer(ReplyRecordConsumer* consumer)
{
    state().consumer = consumer;
}

CQuibSession* kov_SharedSession()
{
    return state().session.get();
}

CQuibSession* kov::openSharedSession()
{
    SupportState& s = state();
    if (!s.session) {
        s.session = std::make_unique<CQuibSession>();
        if (!s.session->Initialize(s.transfer))
            return nullptr;
    }
    return s.session.get();
}

void kov::handOverTransferAgain()
{
    SupportState& s = state();
    if (s.session && !s.session->HasTransferComponent())
        s.session->Initialize(s.transfer);
}

ReplyRecordConsumer* kov::recordConsumer()
{
    SupportState& s = state();
    return s.consumer ? s.consumer : &s.records;
}

void kov_ResetSupport()
{
    kov_ClearStopRequest();
    kov::takeWriteFailure();
    state().session.reset();
    state().consumer = nullptr;
    state().settings.reset();
    kov::forgetResultTexts();
    kov_ResetChannelManager();
}

CKovReg& GetSettings()
{
    if (!state().settings) {
        state().settings = std::make_unique<CKovReg>();
        state().settings->SetInfo(kov_SettingsKey(), QString());
    }
    return *state().settings;
}
