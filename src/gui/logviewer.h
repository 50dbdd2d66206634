#pragma once
// The log viewer, a modal listing of every settings value.
#include "settings/settingsstore.h"

#include <QDialog>

class QAction;
class QMenuBar;
class QPlainTextEdit;

class LogViewer : public QDialog
{
    Q_OBJECT
public:
    explicit LogViewer(QWidget* parent = nullptr);

    QPlainTextEdit* listingView;
    QMenuBar* menuBar;
    QAction* saveAction;
    QAction* copyAndCloseAction;
    QAction* exitAction;
    /// The listing as built when the window was made.
    QString listing() const { return m_listing; }

    void save();
    void copyAndClose();

private:
    SettingsStore m_settings;
    QString m_listing;
};
