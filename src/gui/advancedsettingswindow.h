#pragma once
// The advanced settings window: server, request time-out, reply log, GMT offset, sync
// frequency, starting the tray program at login, desktop notifications, the recorder jobs are
// scheduled into with the VDR's settings, and the way to the channel list. Every change is stored
// at once.
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <QList>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <utility>

class HttpTransfer;
class LabelTextBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class AdvancedSettingsWindow : public QWidget
{
    Q_OBJECT
public:
    /// `transfer` carries the program's server requests; closing the window cancels a running one.
    explicit AdvancedSettingsWindow(HttpTransfer* transfer, QWidget* mainWindow = nullptr,
                                    QWidget* parent = nullptr);
    ~AdvancedSettingsWindow() override;

    QComboBox* serverList;
    QPushButton* serversButton;
    QLabel* targetLabel;
    QLabel* timeoutLabel;
    QLineEdit* timeoutField;
    QLabel* logRepliesLabel;
    QCheckBox* logRepliesBox;
    QLabel* ignoreOffsetLabel;
    QCheckBox* ignoreOffsetBox;
    QLabel* startAtLoginLabel;
    QCheckBox* startAtLoginBox; // checked while the desktop's autostart entry exists
    QLabel* notificationsLabel;
    QCheckBox* notificationsBox;
    QLabel* syncHeading;
    QLabel* frequencyLabel;
    QLineEdit* frequencyField;
    QLabel* hoursLabel;
    QPushButton* frequencyUpButton;
    QPushButton* frequencyDownButton;
    QLabel* recorderLabel;
    QComboBox* recorderList; // item data: the Recorder setting's value
    QLabel* vdrHostLabel;
    QLineEdit* vdrHostField;
    QLabel* vdrPortLabel;
    QLineEdit* vdrPortField;
    QLabel* vdrMarginBeforeLabel;
    QLineEdit* vdrMarginBeforeField;
    QLabel* minutesBeforeLabel;
    QLabel* vdrMarginAfterLabel;
    QLineEdit* vdrMarginAfterField;
    QLabel* minutesAfterLabel;
    QLabel* vdrUseVpsLabel;
    QCheckBox* vdrUseVpsBox;
    QLabel* vdrFolderLabel;
    QLineEdit* vdrFolderField; // empty: no folder
    QPushButton* channelListButton;
    QLabel* messageLine;
    QPushButton* closeButton;

    void serverChosen();
    void getServers();
    void timeoutEdited();
    void timeoutLeft();
    void frequencyUp();
    void frequencyDown();
    void recorderChosen();
    void vdrHostEdited();
    void vdrFolderEdited();
    void openChannelList();
    void startAtLoginClicked(bool on);
    /// Puts the window's frame at `frameTopLeft`, or as near as keeps it on screen; a click on
    /// the window's background brings it back there.
    void placeFrameAt(const QPoint& frameTopLeft);

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void layOutControls();
    /// Translated captions, and the stored values into their widgets.
    void loadSettings();
    void fillServerList();
    void loadRecorder();
    void enableVdrFields();
    /// The VDR's number fields with the settings they show and store.
    QList<std::pair<QLineEdit*, Setting>> vdrNumberFields() const;
    void vdrNumberEdited(QLineEdit* field, Setting setting);
    void connectControls();
    void showFrequency();

    HttpTransfer* m_transfer;
    QWidget* m_mainWindow;
    SettingsStore m_settings;
    std::unique_ptr<LabelTextBox> m_status;
    QPoint m_loadPosition;
    bool m_positionKept = false;
    qint32 m_frequency = 1;
    qint32 m_frequencyAtLoad = 1;
    bool m_closed = false;
};
