// The readers of the two channel files: the channel database (the lookup of a sync and the
// channel manager's load, as the editor fills its grid) and the saved channel guide (the
// editor's other fill method). The first byte picks the file and the sort column. For the
// database, the bytes after the first 0xFE are a channel name: the prompt's answer for it is
// appended to whatever the file holds, and a lookup must then find that answer.
#include "channels/channelcatalog.h"
#include "channels/channellist.h"
#include "channels/channellookup.h"
#include "fuzzsupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzSetUp();
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    ChannelListModel model;
    if (choice & 1) {
        const auto* mark = static_cast<const uint8_t*>(std::memchr(data + 1, 0xFE, size - 1));
        const size_t fileSize = mark ? static_cast<size_t>(mark - data - 1) : size - 1;
        fuzzFile(QStringLiteral("dbchannel.dat"), data + 1, fileSize);
        const QString name = mark ? fuzzText(mark + 1, size - fileSize - 2) : QString();
        if (!name.isEmpty() && !name.contains(QChar(0)) && kov::channelByName(name, false) == 0) {
            if (kov::channelByName(name, true) != 7 || kov::channelByName(name, false) != 7)
                __builtin_trap(); // an answer stored is an answer found
        }
        if (ChannelCatalog* manager = kov::channelCatalog())
            manager->loadDatabase();
        model.fill(2, choice >> 1 & 1);
    } else {
        fuzzFile(QStringLiteral("kovquibcg.dat"), data + 1, size - 1);
        model.fill(1, (choice >> 1) % 8);
    }
    fuzzReset();
    return 0;
}
