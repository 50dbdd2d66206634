#include "recorderrunscope.h"

#include "foundation/translate.h"

namespace {
struct RecorderRun
{
    int scopes = 0; // nested scopes: the outermost one starts and ends the run
    QString outage;
    kov::JobTally jobs;
};

RecorderRun& recorderRun()
{
    static RecorderRun run;
    return run;
}
} // namespace

RecorderRunScope::RecorderRunScope()
{
    RecorderRun& run = recorderRun();
    if (run.scopes++ == 0) {
        run.outage.clear();
        run.jobs = kov::JobTally();
    }
}

RecorderRunScope::~RecorderRunScope()
{
    --recorderRun().scopes;
}

namespace kov {
bool recorderRunActive()
{
    return recorderRun().scopes > 0;
}

void recorderFailed(const QString& why)
{
    QString& outage = recorderRun().outage;
    if (outage.isEmpty())
        outage = why.isEmpty()
                     ? kov::translate(QStringLiteral("The recorder could not be started."))
                     : why;
}

QString recorderOutage()
{
    return recorderRun().outage;
}

void countJobNotScheduled()
{
    ++recorderRun().jobs.recorderFailed;
}

int jobsNotScheduled()
{
    return recorderRun().jobs.recorderFailed;
}

void countJob(JobOutcome outcome, const QString& channel)
{
    JobTally& jobs = recorderRun().jobs;
    switch (outcome) {
    case JobOutcome::Scheduled:
        ++jobs.scheduled;
        break;
    case JobOutcome::Deleted:
        ++jobs.deleted;
        break;
    case JobOutcome::AlreadyThere:
        ++jobs.alreadyThere;
        break;
    case JobOutcome::NoChannelNumber:
        ++jobs.noChannelNumber;
        if (!jobs.unnumberedChannels.contains(channel))
            jobs.unnumberedChannels << channel;
        break;
    case JobOutcome::Refused:
        ++jobs.refused;
        break;
    }
}

JobTally jobTally()
{
    return recorderRun().jobs;
}
} // namespace kov
