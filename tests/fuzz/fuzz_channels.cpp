// The readers of the two channel files: the channel database (the lookup of a sync and the
// channel manager's load, as the editor fills its grid) and the saved channel guide (the
// editor's other fill method). The first byte picks the file and the sort column.
#include "channels/channel_lookup.h"
#include "channels/channellist.h"
#include "channels/cquibchannelmanager.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzSetUp();
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    ChannelListModel model;
    if (choice & 1) {
        fuzzFile(QStringLiteral("dbchannel.dat"), data + 1, size - 1);
        GetChannelByName(QStringLiteral("Alpha TV"), false);
        if (CQuibChannelManager* manager = GetChannelManager())
            manager->LoadChannelsFromDatabase();
        model.fill(2, choice >> 1 & 1);
    } else {
        fuzzFile(QStringLiteral("kovquibcg.dat"), data + 1, size - 1);
        model.fill(1, (choice >> 1) % 8);
    }
    fuzzReset();
    return 0;
}
