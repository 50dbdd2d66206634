#include "advancedsettingswindow.h"

#include "app/autostart.h"
#include "app/resulttexts.h"
#include "app/serverfunction.h"
#include "artwork.h"
#include "channellistwindow.h"
#include "foundation/csvrow.h"
#include "foundation/numbertext.h"
#include "foundation/programname.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "labeltextbox.h"
#include "placement.h"
#include "platform/httptransfer.h"
#include "platform/userinterface.h"
#include "recorders/recorderbackends.h"
#include "settings/quibfunction.h"
#include "settings/settingscatalogue.h"
#include "windowkeys.h"
#include "windowunits.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace {
// Accepts a number within the bounds of a setting (a port 1 to 65535, a margin 0 to 600 minutes)
// in plain digits, and refuses any key that would put anything else in the field (it may be
// empty while typing). Each accepted text is stored at once, so a field that is not empty shows
// the stored number.
class SettingNumberValidator : public QValidator
{
public:
    SettingNumberValidator(Setting setting, QObject* parent)
        : QValidator(parent), m_row(kov::settingRow(setting))
    {
    }
    State validate(QString& input, int&) const override
    {
        if (input.isEmpty())
            return Intermediate;
        for (const QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        }
        if (input.size() > 1 && input.front() == QLatin1Char('0'))
            return Invalid;
        if (input.size() > QString::number(m_row.maximum).size())
            return Invalid;
        const qint64 number = input.toLongLong();
        return number >= m_row.minimum && number <= m_row.maximum ? Acceptable : Invalid;
    }

private:
    const SettingRow& m_row;
};
} // namespace

AdvancedSettingsWindow::AdvancedSettingsWindow(HttpTransfer* transfer, QWidget* mainWindow,
                                               QWidget* parent)
    : QWidget(parent, Qt::Window), m_transfer(transfer), m_mainWindow(mainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("KovFerrit"));
    setWindowIcon(Artwork::windowIcon());
    createControls();
    layOutControls();
    loadSettings();
    if (kov::largeFonts(this))
        resize(sizeHint() * 1.25);
    connectControls();
    kov::useWindowKeys(this, kov::EscapeKey::ClosesWindow);
    kov::keepOnScreenWhenFramed(this);
}

void AdvancedSettingsWindow::createControls()
{
    serverList = new QComboBox(this);
    serverList->setObjectName(QStringLiteral("serverList"));
    serverList->setEditable(true);
    serversButton = new QPushButton(QStringLiteral("Servers"), this);
    targetLabel = new QLabel(this);
    timeoutLabel = new QLabel(this);
    timeoutField = new QLineEdit(this);
    timeoutField->setObjectName(QStringLiteral("timeoutField"));
    logRepliesLabel = new QLabel(this);
    logRepliesBox = new QCheckBox(this);
    ignoreOffsetLabel = new QLabel(this);
    ignoreOffsetBox = new QCheckBox(this);
    startAtLoginLabel = new QLabel(this);
    startAtLoginBox = new QCheckBox(this);
    startAtLoginBox->setObjectName(QStringLiteral("startAtLoginBox"));
    notificationsLabel = new QLabel(this);
    notificationsBox = new QCheckBox(this);
    notificationsBox->setObjectName(QStringLiteral("notificationsBox"));
    syncHeading = new QLabel(this);
    frequencyLabel = new QLabel(this);
    frequencyField = new QLineEdit(this);
    frequencyField->setObjectName(QStringLiteral("frequencyField"));
    hoursLabel = new QLabel(this);
    frequencyUpButton = new QPushButton(QStringLiteral("\u25B2"), this);
    frequencyDownButton = new QPushButton(QStringLiteral("\u25BC"), this);
    recorderLabel = new QLabel(this);
    recorderList = new QComboBox(this);
    recorderList->setObjectName(QStringLiteral("recorderList"));
    vdrHostLabel = new QLabel(this);
    vdrHostField = new QLineEdit(this);
    vdrHostField->setObjectName(QStringLiteral("vdrHostField"));
    vdrPortLabel = new QLabel(this);
    vdrPortField = new QLineEdit(this);
    vdrPortField->setObjectName(QStringLiteral("vdrPortField"));
    vdrMarginBeforeLabel = new QLabel(this);
    vdrMarginBeforeField = new QLineEdit(this);
    vdrMarginBeforeField->setObjectName(QStringLiteral("vdrMarginBeforeField"));
    minutesBeforeLabel = new QLabel(this);
    vdrMarginAfterLabel = new QLabel(this);
    vdrMarginAfterField = new QLineEdit(this);
    vdrMarginAfterField->setObjectName(QStringLiteral("vdrMarginAfterField"));
    minutesAfterLabel = new QLabel(this);
    for (const auto& [field, setting] : vdrNumberFields())
        field->setValidator(new SettingNumberValidator(setting, field));
    vdrUseVpsLabel = new QLabel(this);
    vdrUseVpsBox = new QCheckBox(this);
    vdrUseVpsBox->setObjectName(QStringLiteral("vdrUseVpsBox"));
    vdrFolderLabel = new QLabel(this);
    vdrFolderField = new QLineEdit(this);
    vdrFolderField->setObjectName(QStringLiteral("vdrFolderField"));
    channelListButton = new QPushButton(this);
    messageLine = new QLabel(this);
    messageLine->setObjectName(QStringLiteral("messageLine"));
    messageLine->setStyleSheet(Artwork::lcdStyleSheet());
    closeButton = new QPushButton(QStringLiteral("\u2715"), this);
    m_status = std::make_unique<LabelTextBox>(messageLine);
}

void AdvancedSettingsWindow::layOutControls()
{
    auto* grid = new QGridLayout(this);
    grid->addWidget(targetLabel, 0, 0, 1, 2);
    grid->addWidget(serverList, 1, 0, 1, 2);
    grid->addWidget(serversButton, 1, 2);
    grid->addWidget(timeoutLabel, 2, 0);
    grid->addWidget(timeoutField, 2, 1);
    grid->addWidget(logRepliesLabel, 3, 0);
    grid->addWidget(logRepliesBox, 3, 1);
    grid->addWidget(ignoreOffsetLabel, 4, 0);
    grid->addWidget(ignoreOffsetBox, 4, 1);
    grid->addWidget(startAtLoginLabel, 5, 0);
    grid->addWidget(startAtLoginBox, 5, 1);
    grid->addWidget(notificationsLabel, 6, 0);
    grid->addWidget(notificationsBox, 6, 1);
    grid->addWidget(syncHeading, 7, 0, 1, 3);
    grid->addWidget(frequencyLabel, 8, 0);
    grid->addWidget(frequencyField, 8, 1);
    grid->addWidget(hoursLabel, 8, 2);
    grid->addWidget(frequencyUpButton, 9, 1);
    grid->addWidget(frequencyDownButton, 9, 2);
    grid->addWidget(recorderLabel, 10, 0);
    grid->addWidget(recorderList, 10, 1, 1, 2);
    grid->addWidget(vdrHostLabel, 11, 0);
    grid->addWidget(vdrHostField, 11, 1, 1, 2);
    grid->addWidget(vdrPortLabel, 12, 0);
    grid->addWidget(vdrPortField, 12, 1);
    grid->addWidget(vdrMarginBeforeLabel, 13, 0);
    grid->addWidget(vdrMarginBeforeField, 13, 1);
    grid->addWidget(minutesBeforeLabel, 13, 2);
    grid->addWidget(vdrMarginAfterLabel, 14, 0);
    grid->addWidget(vdrMarginAfterField, 14, 1);
    grid->addWidget(minutesAfterLabel, 14, 2);
    grid->addWidget(vdrUseVpsLabel, 15, 0);
    grid->addWidget(vdrUseVpsBox, 15, 1);
    grid->addWidget(vdrFolderLabel, 16, 0);
    grid->addWidget(vdrFolderField, 16, 1, 1, 2);
    grid->addWidget(channelListButton, 17, 0, 1, 3);
    grid->addWidget(messageLine, 18, 0, 1, 3);
    grid->addWidget(closeButton, 19, 2);
}

void AdvancedSettingsWindow::loadSettings()
{
    // Every opening reads the settings afresh; a value the store lacks shows its default.
    m_settings.setKey(kov::settingsKey());
    timeoutLabel->setText(kov::translate(QStringLiteral("Timeout Seconds")));
    timeoutField->setText(QString::number(kov::number(m_settings, Setting::TimeoutSeconds)));
    logRepliesLabel->setText(kov::translate(QStringLiteral("Log Replies")));
    ignoreOffsetLabel->setText(kov::translate(QStringLiteral("Ignore GMT Offset")));
    syncHeading->setText(kov::translate(QStringLiteral("Synchronize Now")));
    logRepliesBox->setChecked(kov::number(m_settings, Setting::LogReplies) == 1);
    ignoreOffsetBox->setChecked(kov::number(m_settings, Setting::IgnoreOffset) == 1);
    startAtLoginLabel->setText(kov::translate(QStringLiteral("Start at login")));
    startAtLoginBox->setChecked(Autostart::isEnabled());
    notificationsLabel->setText(kov::translate(QStringLiteral("Desktop notifications")));
    notificationsBox->setChecked(kov::number(m_settings, Setting::Notifications) != 0);
    targetLabel->setText(kov::translate(QStringLiteral("Target Database")));
    hoursLabel->setText(kov::translate(QStringLiteral("Hours")));
    frequencyLabel->setText(kov::translate(QStringLiteral("Sync Frequency")));
    m_frequency = kov::number(m_settings, Setting::UpdateFrequency);
    m_frequencyAtLoad = m_frequency;
    showFrequency();
    loadRecorder();
    channelListButton->setText(kov::translate(QStringLiteral("Channel List")));
    fillServerList();
    messageLine->setText(kov::translate(QStringLiteral("Welcome to KOV Ferrit")));
}

void AdvancedSettingsWindow::fillServerList()
{
    // 1Server, 2Server, ... up to the first empty one; each lists its host, the text before
    // the first comma. The edit field shows the chosen target, listed or not.
    for (qint32 n = 1;; ++n) {
        const QString server = kov::text(m_settings, {Setting::Server, n});
        if (server.isEmpty())
            break;
        serverList->addItem(server.section(QLatin1Char(','), 0, 0));
    }
    serverList->setCurrentIndex(-1);
    serverList->setEditText(kov::rawText(m_settings, Setting::Target));
}

void AdvancedSettingsWindow::loadRecorder()
{
    recorderLabel->setText(kov::translate(QStringLiteral("Recorder")));
    for (const RecorderBackend& backend : kov::recorderBackends())
        recorderList->addItem(backend.label(), QString(backend.name));
    // A value the program does not know selects nothing; the recorder then counts as missing.
    recorderList->setCurrentIndex(
        recorderList->findData(kov::text(m_settings, Setting::Recorder).trimmed().toLower()));
    vdrHostLabel->setText(kov::translate(QStringLiteral("VDR Host")));
    vdrHostField->setPlaceholderText(kov::settingDefault(Setting::VdrHost).toString());
    vdrHostField->setText(kov::text(m_settings, Setting::VdrHost));
    vdrPortLabel->setText(kov::translate(QStringLiteral("VDR Port")));
    vdrMarginBeforeLabel->setText(kov::translate(QStringLiteral("Margin at Start")));
    vdrMarginAfterLabel->setText(kov::translate(QStringLiteral("Margin at Stop")));
    minutesBeforeLabel->setText(kov::translate(QStringLiteral("Minutes")));
    minutesAfterLabel->setText(minutesBeforeLabel->text());
    for (const auto& [field, setting] : vdrNumberFields())
        field->setText(QString::number(kov::number(m_settings, setting)));
    vdrUseVpsLabel->setText(kov::translate(QStringLiteral("Use VPS")));
    vdrUseVpsBox->setChecked(kov::number(m_settings, Setting::VdrUseVps) != 0);
    vdrFolderLabel->setText(kov::translate(QStringLiteral("VDR Folder")));
    vdrFolderField->setPlaceholderText(kov::translate(QStringLiteral("No folder")));
    vdrFolderField->setText(kov::text(m_settings, Setting::VdrFolder));
    enableVdrFields();
}

QList<std::pair<QLineEdit*, Setting>> AdvancedSettingsWindow::vdrNumberFields() const
{
    return {{vdrPortField, Setting::VdrPort},
            {vdrMarginBeforeField, Setting::VdrMarginBefore},
            {vdrMarginAfterField, Setting::VdrMarginAfter}};
}

void AdvancedSettingsWindow::enableVdrFields()
{
    const bool vdr = recorderList->currentData().toString() == QLatin1String("vdr");
    const QList<QWidget*> vdrFields{vdrHostLabel,       vdrHostField,         vdrPortLabel,
                                    vdrPortField,       vdrMarginBeforeLabel, vdrMarginBeforeField,
                                    minutesBeforeLabel, vdrMarginAfterLabel,  vdrMarginAfterField,
                                    minutesAfterLabel,  vdrUseVpsLabel,       vdrUseVpsBox,
                                    vdrFolderLabel,     vdrFolderField};
    for (QWidget* field : vdrFields)
        field->setEnabled(vdr);
}

void AdvancedSettingsWindow::connectControls()
{
    connect(serverList, &QComboBox::activated, this, &AdvancedSettingsWindow::serverChosen);
    serverList->installEventFilter(this); // leaving the list chooses too
    connect(serversButton, &QPushButton::clicked, this, &AdvancedSettingsWindow::getServers);
    connect(timeoutField, &QLineEdit::textEdited, this, &AdvancedSettingsWindow::timeoutEdited);
    connect(timeoutField, &QLineEdit::editingFinished, this, &AdvancedSettingsWindow::timeoutLeft);
    connect(logRepliesBox, &QCheckBox::clicked, this,
            [this](bool on) { kov::setNumber(m_settings, Setting::LogReplies, on ? 1 : 0); });
    connect(ignoreOffsetBox, &QCheckBox::clicked, this,
            [this](bool on) { kov::setNumber(m_settings, Setting::IgnoreOffset, on ? 1 : 0); });
    connect(startAtLoginBox, &QCheckBox::clicked, this,
            &AdvancedSettingsWindow::startAtLoginClicked);
    connect(notificationsBox, &QCheckBox::clicked, this,
            [this](bool on) { kov::setNumber(m_settings, Setting::Notifications, on ? 1 : 0); });
    connect(frequencyUpButton, &QPushButton::clicked, this, &AdvancedSettingsWindow::frequencyUp);
    connect(frequencyDownButton, &QPushButton::clicked, this,
            &AdvancedSettingsWindow::frequencyDown);
    connect(recorderList, &QComboBox::activated, this, &AdvancedSettingsWindow::recorderChosen);
    connect(vdrHostField, &QLineEdit::textEdited, this, &AdvancedSettingsWindow::vdrHostEdited);
    for (const auto& [field, setting] : vdrNumberFields()) {
        field->installEventFilter(this); // leaving it empty shows the stored number again
        connect(field, &QLineEdit::textEdited, this,
                [this, field = field, setting = setting] { vdrNumberEdited(field, setting); });
    }
    connect(vdrUseVpsBox, &QCheckBox::clicked, this,
            [this](bool on) { kov::setNumber(m_settings, Setting::VdrUseVps, on ? 1 : 0); });
    connect(vdrFolderField, &QLineEdit::textEdited, this, &AdvancedSettingsWindow::vdrFolderEdited);
    connect(channelListButton, &QPushButton::clicked, this,
            &AdvancedSettingsWindow::openChannelList);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

AdvancedSettingsWindow::~AdvancedSettingsWindow() = default;

void AdvancedSettingsWindow::showFrequency()
{
    frequencyField->setText(QString::number(m_frequency));
}

bool AdvancedSettingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == serverList && event->type() == QEvent::FocusOut)
        serverChosen();
    if (event->type() == QEvent::FocusOut) {
        for (const auto& [field, setting] : vdrNumberFields()) {
            if (watched == field && field->text().isEmpty())
                field->setText(QString::number(kov::number(m_settings, setting)));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void AdvancedSettingsWindow::serverChosen()
{
    const int index = serverList->currentIndex();
    if (index < 0)
        return;
    CsvRow row;
    if (row.setText(serverList->itemText(index)))
        kov::setText(m_settings, Setting::Target, row.column(0));
}

void AdvancedSettingsWindow::getServers()
{
    const qint32 code =
        kov::runServerFunction(QuibFunction::GetTargetSystems,
                               kov::text(m_settings, Setting::Account), m_status.get(), true, true);
    if (kov::isSuccessCode(code))
        kov::setNumber(m_settings, Setting::HaveServers, 1);
}

void AdvancedSettingsWindow::timeoutEdited()
{
    // After every change the field holds the number read from its beginning.
    const int cursor = timeoutField->cursorPosition();
    timeoutField->setText(QString::number(kov::leadingNumber(timeoutField->text()), 'g', 15));
    timeoutField->setCursorPosition(qMin(cursor, static_cast<int>(timeoutField->text().size())));
}

void AdvancedSettingsWindow::timeoutLeft()
{
    bool inRange = false;
    const qint32 seconds = kov::leadingLong(timeoutField->text(), &inRange);
    if (inRange)
        kov::setNumber(m_settings, Setting::TimeoutSeconds, seconds);
}

void AdvancedSettingsWindow::frequencyUp()
{
    if (m_frequency >= 999)
        return;
    ++m_frequency;
    showFrequency();
    kov::setNumber(m_settings, Setting::UpdateFrequency, m_frequency);
}

void AdvancedSettingsWindow::frequencyDown()
{
    m_frequency = qMax(1, m_frequency - 1);
    showFrequency();
    kov::setNumber(m_settings, Setting::UpdateFrequency, m_frequency);
}

void AdvancedSettingsWindow::recorderChosen()
{
    kov::setText(m_settings, Setting::Recorder, recorderList->currentData().toString());
    enableVdrFields();
}

void AdvancedSettingsWindow::vdrHostEdited()
{
    // An emptied field goes back to the default host, which it then shows as its placeholder.
    const QString host = vdrHostField->text().trimmed();
    if (host.isEmpty())
        kov::deleteSetting(m_settings, Setting::VdrHost);
    else
        kov::setText(m_settings, Setting::VdrHost, host);
}

void AdvancedSettingsWindow::vdrNumberEdited(QLineEdit* field, Setting setting)
{
    // An emptied field stores nothing.
    if (field->hasAcceptableInput())
        kov::setNumber(m_settings, setting, field->text().toInt());
}

void AdvancedSettingsWindow::vdrFolderEdited()
{
    // An emptied field stores an empty text, which means no folder; deleting the value instead
    // would bring the default folder back.
    kov::setText(m_settings, Setting::VdrFolder, vdrFolderField->text().trimmed());
}

void AdvancedSettingsWindow::startAtLoginClicked(bool on)
{
    // The entry starts this very program file, wherever it was installed or built.
    QString error;
    const bool done = on ? Autostart::enable(QCoreApplication::applicationFilePath(), &error)
                         : Autostart::disable(&error);
    if (!done)
        kov::userInterface().messageBox(error, MessageIcon::Critical, kov::appTitle());
    // The box shows what is on disk, also after a failure.
    startAtLoginBox->setChecked(Autostart::isEnabled());
}

void AdvancedSettingsWindow::openChannelList()
{
    auto* list = ChannelListWindow::openInstance();
    if (!list)
        list = new ChannelListWindow(m_mainWindow);
    list->show();
    list->raise();
}

void AdvancedSettingsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_positionKept) {
        // The main window gives the place of the frame (move()). Until the window manager has
        // framed this window Qt puts the client area there instead, a title bar higher, so the
        // client area goes inside the frame the window is about to get. That is the place the
        // window keeps.
        const QMargins frame = kov::frameMargins(this, m_mainWindow);
        if (testAttribute(Qt::WA_Moved))
            kov::moveFrameTo(this, pos(), frame);
        // The window is whole on screen, its status line and Close included, also where the
        // main window stands near the screen's bottom edge.
        kov::keepOnScreen(this, frame);
        m_loadPosition = kov::frameRect(this, frame).topLeft();
        m_positionKept = true;
    }
}

void AdvancedSettingsWindow::placeFrameAt(const QPoint& frameTopLeft)
{
    if (!isVisible()) {
        // Placed as it is shown, once its size is final.
        move(frameTopLeft);
        m_positionKept = false;
        return;
    }
    const QMargins frame = kov::frameMargins(this, m_mainWindow);
    kov::moveFrameTo(this, frameTopLeft, frame);
    kov::keepOnScreen(this, frame);
    m_loadPosition = kov::frameRect(this, frame).topLeft();
}

void AdvancedSettingsWindow::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    // A click on the background puts the window back where it was first shown. The window is moved
    // only when it is elsewhere.
    const QMargins frame = kov::frameMargins(this, m_mainWindow);
    if (kov::frameRect(this, frame).topLeft() != m_loadPosition) {
        kov::moveFrameTo(this, m_loadPosition, frame);
        // The place was chosen by a borrowed frame; the window's own may be thicker.
        kov::keepOnScreen(this, frame);
        m_loadPosition = kov::frameRect(this, frame).topLeft();
    }
}

void AdvancedSettingsWindow::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        try {
            if (m_transfer)
                m_transfer->cancel();
            timeoutLeft();
            if (kov::number(m_settings, Setting::UpdateFrequency) != m_frequencyAtLoad) {
                kov::trace(QStringLiteral("--- uPdaTinG FreQuEncY --- ?"
                                          "?/// *&^%$#$"));
                const qint32 code = kov::runServerFunction(QuibFunction::GetJobs,
                                                           kov::text(m_settings, Setting::Account),
                                                           m_status.get(), false, true);
                if (!kov::isSuccessCode(code)) {
                    messageLine->setText(code < 0
                                             ? kov::translate(QStringLiteral("GetJobs FAILED")) +
                                                   QStringLiteral(" -1")
                                             : kov::translate(QStringLiteral("GetJobs FAILED")) +
                                                   QStringLiteral(" : ") +
                                                   kov::translate(kov::resultText(code)));
                }
            }
        } catch (const std::exception& e) {
            kov::trace(QStringLiteral("Unload Error : ") + QString::fromLocal8Bit(e.what()));
        }
    }
    event->accept();
}
