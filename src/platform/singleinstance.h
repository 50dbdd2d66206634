#pragma once
// One desktop program per program folder. Two copies would show two tray icons and run two
// update timers that sync the same folder into the same recorder, so the first copy holds a
// lock in the folder and answers on a local socket; a later start asks it to show its window
// and ends.
#include <QObject>
#include <QString>

#include <memory>

class FolderLock;
class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Claim
    {
        First,      ///< no other copy runs in the program folder: this one goes on
        HandedOver, ///< the running copy took the request to show its window
        NoAnswer    ///< a copy holds the folder but did not take the request in time
    };

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    /// Takes the program folder's lock, which the system drops when its process ends however
    /// it ends. When another copy holds it, asks that copy to show its window and waits at most
    /// `waitMs` for its answer (it may be starting up and not listen yet); a copy that ends
    /// meanwhile leaves the folder to this one.
    Claim claim(int waitMs = 5000);
    /// After a First claim: answers later starts, each with anotherStart(). A socket that a
    /// crashed copy left behind is replaced.
    void listen();
    /// The local socket's name, from the user and the canonical program folder, so that each
    /// user and each folder has a copy of its own.
    static QString serverName();

signals:
    /// A later start in this program folder asked this copy to show its window.
    void anotherStart();

private:
    bool takeLock();
    Claim handOver(int waitMs);
    void answerStarts();

    std::unique_ptr<FolderLock> m_lock;
    QLocalServer* m_server = nullptr;
};
