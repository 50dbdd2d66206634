// `answer_driver FOLDER NAME NUMBER` stores a prompted channel answer the way a sync does: it
// looks NAME up in the program folder FOLDER and answers the prompt with NUMBER.
#include "channels/channellookup.h"
#include "foundation/programfolder.h"
#include "platform/stderruserinterface.h"
#include "platform/userinterface.h"

#include <QCoreApplication>

struct Answer : StderrUserInterface
{
    int number = 0;
    int askChannelNumber(const QString&, qint32) override { return number; }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    kov::setProgramFolder(args.value(1));
    Answer answer;
    answer.number = args.value(3).toInt();
    kov::setUserInterface(&answer);
    return kov::channelByName(args.value(2), true) == answer.number ? 0 : 1;
}
