#pragma once
// The daemon's user interface: a message box shown while a sync runs (the recorder that failed,
// the jobs it left) joins that run's one line; any other box is a line of its own on standard
// error, with the priority its icon gives.
#include "terminalui.h"

class DaemonFrontEnd;

class DaemonUserInterface : public TerminalUserInterface
{
public:
    explicit DaemonUserInterface(DaemonFrontEnd& frontEnd) : m_frontEnd(frontEnd) {}
    MessageAnswer messageBox(const QString& text, MessageStyle style,
                             const QString& caption) override;

private:
    DaemonFrontEnd& m_frontEnd;
};
