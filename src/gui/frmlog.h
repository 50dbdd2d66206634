#pragma once
// The log viewer, a modal listing of every settings value.
#include "settings/ckovreg.h"

#include <QDialog>

class QAction;
class QMenuBar;
class QPlainTextEdit;

class frmLog : public QDialog
{
    Q_OBJECT
public:
    explicit frmLog(QWidget* parent = nullptr);

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
    CKovReg m_reg;
    QString m_listing;
};
