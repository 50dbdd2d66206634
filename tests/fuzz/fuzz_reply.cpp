// A whole reply of any of the three server functions, parsed and its records handed to the
// sync's own consumer (jobs scheduled, channels added, servers listed). The first byte picks
// the function.
#include "app/replyrecords.h"
#include "fuzzsupport.h"
#include "protocol/replyparser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzSetUp();
    if (size == 0)
        return 0;
    static const QuibFunction functions[] = {QuibFunction::GetJobs, QuibFunction::ChannelGuide,
                                             QuibFunction::GetTargetSystems};
    const QuibFunction function = functions[data[0] % 3];
    SyncReplyRecords records;
    ReplyParser reply(&records);
    reply.parse(fuzzText(data + 1, size - 1), function);
    fuzzReset();
    return 0;
}
