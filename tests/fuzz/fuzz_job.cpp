// Job records behind a valid getjobs header: each line is parsed as a job and scheduled into
// a recorder that only counts, asking for (and storing) the number of an unknown channel.
#include "app/replyrecords.h"
#include "fuzzsupport.h"
#include "protocol/replyparser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzSetUp();
    const QString records = fuzzText(data, size);
    const QString reply =
        QStringLiteral("0,4711,csv,%1\r\n"
                       "channel,channelid,id,start,stop,action,title,pg,quality,sequence,"
                       "priority,protection,nature,format,vps,description,persons\r\n")
            .arg(records.count(QLatin1Char('\n')) + 1) +
        records + QStringLiteral("\r\n");
    SyncReplyRecords consumer;
    ReplyParser parser(&consumer);
    parser.parse(reply, QuibFunction::GetJobs);
    fuzzReset();
    return 0;
}
