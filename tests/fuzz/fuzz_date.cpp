// The date reader, and the date writer on what it accepted: a date written as text and read
// back is the same date.
#include "foundation/datetext.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzSetUp();
    bool ok = false;
    const QDateTime when = kov::parseDate(fuzzText(data, size), &ok);
    if (!ok)
        return 0;
    bool again = false;
    const QDateTime back = kov::parseDate(kov::dateText(when), &again);
    if (!again || back != when.addMSecs(-when.time().msec()))
        __builtin_trap();
    return 0;
}
