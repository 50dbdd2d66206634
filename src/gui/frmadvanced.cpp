#include "frmadvanced.h"

#include "app/autostart.h"
#include "app/kovferritsupport.h"
#include "artwork.h"
#include "foundation/ckovqzcsv.h"
#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"
#include "foundation/translate.h"
#include "frmchannellist.h"
#include "lcdtextbox.h"
#include "placement.h"
#include "platform/httptransfer.h"
#include "platform/userinterface.h"
#include "settings/settings_catalogue.h"
#include "twips.h"

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
    SettingNumberValidator(const QString& setting, QObject* parent)
        : QValidator(parent), m_def(*kov_FindSetting(setting))
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
        if (input.size() > QString::number(m_def.maximum).size())
            return Invalid;
        const qint64 number = input.toLongLong();
        return number >= m_def.minimum && number <= m_def.maximum ? Acceptable : Invalid;
    }

private:
    const SettingDef& m_def;
};
} // namespace

frmAdvanced::frmAdvanced(HttpTransfer* transfer, QWidget* mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), m_transfer(transfer), m_mainWindow(mainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("KovFerrit"));
    setWindowIcon(Artwork::windowIcon());
    createControls();
    layOutControls();
    loadSettings();
    if (kov_LargeFonts(this))
        resize(sizeHint() * 1.25);
    connectControls();
}

void frmAdvanced::createControls()
{
    cmboServers = new QComboBox(this);
    cmboServers->setObjectName(QStringLiteral("cmboServers"));
    cmboServers->setEditable(true);
    cmdGetServers = new QPushButton(QStringLiteral("Servers"), this);
    Text2 = new QLabel(this);
    lblTimeout = new QLabel(this);
    txtTimeout = new QLineEdit(this);
    txtTimeout->setObjectName(QStringLiteral("txtTimeout"));
    lblLogReplies = new QLabel(this);
    chkLogReplies = new QCheckBox(this);
    lblIgnoreTimeOffset = new QLabel(this);
    chkIgnoreOffset = new QCheckBox(this);
    lblStartAtLogin = new QLabel(this);
    chkStartAtLogin = new QCheckBox(this);
    chkStartAtLogin->setObjectName(QStringLiteral("chkStartAtLogin"));
    txtUpdates = new QLabel(this);
    lblFrequency = new QLabel(this);
    txtFrequency = new QLineEdit(this);
    txtFrequency->setObjectName(QStringLiteral("txtFrequency"));
    lblHours = new QLabel(this);
    cmdFreqUp = new QPushButton(QStringLiteral("\u25B2"), this);
    cmdFreqDown = new QPushButton(QStringLiteral("\u25BC"), this);
    lblRecorder = new QLabel(this);
    cmboRecorder = new QComboBox(this);
    cmboRecorder->setObjectName(QStringLiteral("cmboRecorder"));
    lblVdrHost = new QLabel(this);
    txtVdrHost = new QLineEdit(this);
    txtVdrHost->setObjectName(QStringLiteral("txtVdrHost"));
    lblVdrPort = new QLabel(this);
    txtVdrPort = new QLineEdit(this);
    txtVdrPort->setObjectName(QStringLiteral("txtVdrPort"));
    lblVdrMarginBefore = new QLabel(this);
    txtVdrMarginBefore = new QLineEdit(this);
    txtVdrMarginBefore->setObjectName(QStringLiteral("txtVdrMarginBefore"));
    lblMinutesBefore = new QLabel(this);
    lblVdrMarginAfter = new QLabel(this);
    txtVdrMarginAfter = new QLineEdit(this);
    txtVdrMarginAfter->setObjectName(QStringLiteral("txtVdrMarginAfter"));
    lblMinutesAfter = new QLabel(this);
    for (const auto& [field, setting] : vdrNumberFields())
        field->setValidator(new SettingNumberValidator(setting, field));
    lblVdrUseVps = new QLabel(this);
    chkVdrUseVps = new QCheckBox(this);
    chkVdrUseVps->setObjectName(QStringLiteral("chkVdrUseVps"));
    lblVdrFolder = new QLabel(this);
    txtVdrFolder = new QLineEdit(this);
    txtVdrFolder->setObjectName(QStringLiteral("txtVdrFolder"));
    cmdChannels = new QPushButton(this);
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setStyleSheet(Artwork::lcdStyleSheet());
    cmdClose = new QPushButton(QStringLiteral("\u2715"), this);
    m_status = std::make_unique<LabelTextBox>(lblMessage);
}

void frmAdvanced::layOutControls()
{
    auto* grid = new QGridLayout(this);
    grid->addWidget(Text2, 0, 0, 1, 2);
    grid->addWidget(cmboServers, 1, 0, 1, 2);
    grid->addWidget(cmdGetServers, 1, 2);
    grid->addWidget(lblTimeout, 2, 0);
    grid->addWidget(txtTimeout, 2, 1);
    grid->addWidget(lblLogReplies, 3, 0);
    grid->addWidget(chkLogReplies, 3, 1);
    grid->addWidget(lblIgnoreTimeOffset, 4, 0);
    grid->addWidget(chkIgnoreOffset, 4, 1);
    grid->addWidget(lblStartAtLogin, 5, 0);
    grid->addWidget(chkStartAtLogin, 5, 1);
    grid->addWidget(txtUpdates, 6, 0, 1, 3);
    grid->addWidget(lblFrequency, 7, 0);
    grid->addWidget(txtFrequency, 7, 1);
    grid->addWidget(lblHours, 7, 2);
    grid->addWidget(cmdFreqUp, 8, 1);
    grid->addWidget(cmdFreqDown, 8, 2);
    grid->addWidget(lblRecorder, 9, 0);
    grid->addWidget(cmboRecorder, 9, 1, 1, 2);
    grid->addWidget(lblVdrHost, 10, 0);
    grid->addWidget(txtVdrHost, 10, 1, 1, 2);
    grid->addWidget(lblVdrPort, 11, 0);
    grid->addWidget(txtVdrPort, 11, 1);
    grid->addWidget(lblVdrMarginBefore, 12, 0);
    grid->addWidget(txtVdrMarginBefore, 12, 1);
    grid->addWidget(lblMinutesBefore, 12, 2);
    grid->addWidget(lblVdrMarginAfter, 13, 0);
    grid->addWidget(txtVdrMarginAfter, 13, 1);
    grid->addWidget(lblMinutesAfter, 13, 2);
    grid->addWidget(lblVdrUseVps, 14, 0);
    grid->addWidget(chkVdrUseVps, 14, 1);
    grid->addWidget(lblVdrFolder, 15, 0);
    grid->addWidget(txtVdrFolder, 15, 1, 1, 2);
    grid->addWidget(cmdChannels, 16, 0, 1, 3);
    grid->addWidget(lblMessage, 17, 0, 1, 3);
    grid->addWidget(cmdClose, 18, 2);
}

void frmAdvanced::loadSettings()
{
    // Every opening reads the settings afresh; a value the store lacks shows its default.
    m_reg.SetInfo(kov_SettingsKey());
    lblTimeout->setText(Translate(QStringLiteral("Timeout Seconds")));
    txtTimeout->setText(QString::number(kov_ReadNumber(m_reg, KovSetting::TimeoutSeconds)));
    lblLogReplies->setText(Translate(QStringLiteral("Log Replies")));
    lblIgnoreTimeOffset->setText(Translate(QStringLiteral("Ignore GMT Offset")));
    txtUpdates->setText(Translate(QStringLiteral("Synchronize Now")));
    chkLogReplies->setChecked(kov_ReadNumber(m_reg, KovSetting::LogReplies) == 1);
    chkIgnoreOffset->setChecked(kov_ReadNumber(m_reg, KovSetting::IgnoreOffset) == 1);
    lblStartAtLogin->setText(Translate(QStringLiteral("Start at login")));
    chkStartAtLogin->setChecked(Autostart::IsEnabled());
    Text2->setText(Translate(QStringLiteral("Target Database")));
    lblHours->setText(Translate(QStringLiteral("Hours")));
    lblFrequency->setText(Translate(QStringLiteral("Sync Frequency")));
    m_frequency = kov_ReadNumber(m_reg, KovSetting::UpdateFrequency);
    m_frequencyAtLoad = m_frequency;
    showFrequency();
    loadRecorder();
    cmdChannels->setText(Translate(QStringLiteral("Channel List")));
    fillServerList();
    lblMessage->setText(Translate(QStringLiteral("Welcome to KOV Ferrit")));
}

void frmAdvanced::fillServerList()
{
    // 1Server, 2Server, ... up to the first empty one; each lists its host, the text before
    // the first comma. The edit field shows the chosen target, listed or not.
    for (qint32 n = 1;; ++n) {
        const QString server = m_reg.Str(KovSetting::server(n));
        if (server.isEmpty())
            break;
        cmboServers->addItem(server.section(QLatin1Char(','), 0, 0));
    }
    cmboServers->setCurrentIndex(-1);
    cmboServers->setEditText(m_reg.Str(KovSetting::Target));
}

void frmAdvanced::loadRecorder()
{
    lblRecorder->setText(Translate(QStringLiteral("Recorder")));
    cmboRecorder->addItem(Translate(QStringLiteral("Local scheduler")), QStringLiteral("local"));
    cmboRecorder->addItem(Translate(QStringLiteral("VDR")), QStringLiteral("vdr"));
    // A value the program does not know selects nothing; the recorder then counts as missing.
    cmboRecorder->setCurrentIndex(
        cmboRecorder->findData(kov_ReadText(m_reg, KovSetting::Recorder).trimmed().toLower()));
    lblVdrHost->setText(Translate(QStringLiteral("VDR Host")));
    txtVdrHost->setPlaceholderText(
        kov_SettingDefault(*kov_FindSetting(KovSetting::VdrHost)).toString());
    txtVdrHost->setText(kov_ReadText(m_reg, KovSetting::VdrHost));
    lblVdrPort->setText(Translate(QStringLiteral("VDR Port")));
    lblVdrMarginBefore->setText(Translate(QStringLiteral("Margin at Start")));
    lblVdrMarginAfter->setText(Translate(QStringLiteral("Margin at Stop")));
    lblMinutesBefore->setText(Translate(QStringLiteral("Minutes")));
    lblMinutesAfter->setText(lblMinutesBefore->text());
    for (const auto& [field, setting] : vdrNumberFields())
        field->setText(QString::number(kov_ReadNumber(m_reg, setting)));
    lblVdrUseVps->setText(Translate(QStringLiteral("Use VPS")));
    chkVdrUseVps->setChecked(kov_ReadNumber(m_reg, KovSetting::VdrUseVps) != 0);
    lblVdrFolder->setText(Translate(QStringLiteral("VDR Folder")));
    txtVdrFolder->setPlaceholderText(Translate(QStringLiteral("No folder")));
    txtVdrFolder->setText(kov_ReadText(m_reg, KovSetting::VdrFolder));
    enableVdrFields();
}

QList<std::pair<QLineEdit*, QLatin1String>> frmAdvanced::vdrNumberFields() const
{
    return {{txtVdrPort, KovSetting::VdrPort},
            {txtVdrMarginBefore, KovSetting::VdrMarginBefore},
            {txtVdrMarginAfter, KovSetting::VdrMarginAfter}};
}

void frmAdvanced::enableVdrFields()
{
    const bool vdr = cmboRecorder->currentData().toString() == QLatin1String("vdr");
    const QList<QWidget*> vdrFields{lblVdrHost,       txtVdrHost,         lblVdrPort,
                                    txtVdrPort,       lblVdrMarginBefore, txtVdrMarginBefore,
                                    lblMinutesBefore, lblVdrMarginAfter,  txtVdrMarginAfter,
                                    lblMinutesAfter,  lblVdrUseVps,       chkVdrUseVps,
                                    lblVdrFolder,     txtVdrFolder};
    for (QWidget* field : vdrFields)
        field->setEnabled(vdr);
}

void frmAdvanced::connectControls()
{
    connect(cmboServers, &QComboBox::activated, this, &frmAdvanced::serverChosen);
    cmboServers->installEventFilter(this); // leaving the list chooses too
    connect(cmdGetServers, &QPushButton::clicked, this, &frmAdvanced::getServers);
    connect(txtTimeout, &QLineEdit::textEdited, this, &frmAdvanced::timeoutEdited);
    connect(txtTimeout, &QLineEdit::editingFinished, this, &frmAdvanced::timeoutLeft);
    connect(chkLogReplies, &QCheckBox::clicked, this,
            [this](bool on) { m_reg.setLng(KovSetting::LogReplies, on ? 1 : 0); });
    connect(chkIgnoreOffset, &QCheckBox::clicked, this,
            [this](bool on) { m_reg.setLng(KovSetting::IgnoreOffset, on ? 1 : 0); });
    connect(chkStartAtLogin, &QCheckBox::clicked, this, &frmAdvanced::startAtLoginClicked);
    connect(cmdFreqUp, &QPushButton::clicked, this, &frmAdvanced::frequencyUp);
    connect(cmdFreqDown, &QPushButton::clicked, this, &frmAdvanced::frequencyDown);
    connect(cmboRecorder, &QComboBox::activated, this, &frmAdvanced::recorderChosen);
    connect(txtVdrHost, &QLineEdit::textEdited, this, &frmAdvanced::vdrHostEdited);
    for (const auto& [field, setting] : vdrNumberFields()) {
        field->installEventFilter(this); // leaving it empty shows the stored number again
        connect(
            field, &QLineEdit::textEdited, this,
            [this, field = field, setting = QString(setting)] { vdrNumberEdited(field, setting); });
    }
    connect(chkVdrUseVps, &QCheckBox::clicked, this,
            [this](bool on) { m_reg.setLng(KovSetting::VdrUseVps, on ? 1 : 0); });
    connect(txtVdrFolder, &QLineEdit::textEdited, this, &frmAdvanced::vdrFolderEdited);
    connect(cmdChannels, &QPushButton::clicked, this, &frmAdvanced::openChannelList);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

frmAdvanced::~frmAdvanced() = default;

void frmAdvanced::showFrequency()
{
    txtFrequency->setText(QString::number(m_frequency));
}

bool frmAdvanced::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cmboServers && event->type() == QEvent::FocusOut)
        serverChosen();
    if (event->type() == QEvent::FocusOut) {
        for (const auto& [field, setting] : vdrNumberFields()) {
            if (watched == field && field->text().isEmpty())
                field->setText(QString::number(kov_ReadNumber(m_reg, setting)));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmAdvanced::serverChosen()
{
    const int index = cmboServers->currentIndex();
    if (index < 0)
        return;
    CKovQzCSVrow row;
    if (row.setRowData(cmboServers->itemText(index)))
        m_reg.setStr(KovSetting::Target, row.Column(0));
}

void frmAdvanced::getServers()
{
    const qint32 code = DoWork(QuibFunction::GetTargetSystems, m_reg.Str(KovSetting::Account),
                               m_reg.Str(KovSetting::Protocol), m_status.get(), true, true);
    if (IsSuccessCode(code))
        m_reg.setLng(KovSetting::HaveServers, 1);
}

void frmAdvanced::timeoutEdited()
{
    // After every change the field holds the number read from its beginning.
    const int cursor = txtTimeout->cursorPosition();
    txtTimeout->setText(QString::number(kov_LeadingNumber(txtTimeout->text()), 'g', 15));
    txtTimeout->setCursorPosition(qMin(cursor, static_cast<int>(txtTimeout->text().size())));
}

void frmAdvanced::timeoutLeft()
{
    bool inRange = false;
    const qint32 seconds = kov_LeadingLong(txtTimeout->text(), &inRange);
    if (inRange)
        m_reg.setLng(KovSetting::TimeoutSeconds, seconds);
}

void frmAdvanced::frequencyUp()
{
    if (m_frequency >= 999)
        return;
    ++m_frequency;
    showFrequency();
    m_reg.setLng(KovSetting::UpdateFrequency, m_frequency);
}

void frmAdvanced::frequencyDown()
{
    m_frequency = qMax(1, m_frequency - 1);
    showFrequency();
    m_reg.setLng(KovSetting::UpdateFrequency, m_frequency);
}

void frmAdvanced::recorderChosen()
{
    m_reg.setStr(KovSetting::Recorder, cmboRecorder->currentData().toString());
    enableVdrFields();
}

void frmAdvanced::vdrHostEdited()
{
    // An emptied field goes back to the default host, which it then shows as its placeholder.
    const QString host = txtVdrHost->text().trimmed();
    if (host.isEmpty())
        m_reg.DeleteValue(KovSetting::VdrHost);
    else
        m_reg.setStr(KovSetting::VdrHost, host);
}

void frmAdvanced::vdrNumberEdited(QLineEdit* field, const QString& setting)
{
    // An emptied field stores nothing.
    if (field->hasAcceptableInput())
        m_reg.setLng(setting, field->text().toInt());
}

void frmAdvanced::vdrFolderEdited()
{
    // An emptied field stores an empty text, which means no folder; deleting the value instead
    // would bring the default folder back.
    m_reg.setStr(KovSetting::VdrFolder, txtVdrFolder->text().trimmed());
}

void frmAdvanced::startAtLoginClicked(bool on)
{
    // The entry starts this very program file, wherever it was installed or built.
    QString error;
    const bool done = on ? Autostart::Enable(QCoreApplication::applicationFilePath(), &error)
                         : Autostart::Disable(&error);
    if (!done)
        kov_UserInterface().messageBox(error, MessageIcon::Critical, kov_AppTitle());
    // The box shows what is on disk, also after a failure.
    chkStartAtLogin->setChecked(Autostart::IsEnabled());
}

void frmAdvanced::openChannelList()
{
    auto* list = frmChannelList::openInstance();
    if (!list)
        list = new frmChannelList(m_mainWindow);
    list->show();
    list->raise();
}

void frmAdvanced::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_positionKept) {
        // The main window gives the place of the frame (move()). Until the window manager has
        // framed this window Qt puts the client area there instead, a title bar higher, so the
        // client area goes inside the frame the window is about to get. That is the place the
        // window keeps.
        const QMargins frame = kov_FrameMargins(this, m_mainWindow);
        if (testAttribute(Qt::WA_Moved))
            kov_MoveFrameTo(this, pos(), frame);
        m_loadPosition = kov_FrameRect(this, frame).topLeft();
        m_positionKept = true;
    }
}

void frmAdvanced::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    // A click on the background puts the window back where it loaded. The window is moved only
    // when it is elsewhere.
    const QMargins frame = kov_FrameMargins(this, m_mainWindow);
    if (kov_FrameRect(this, frame).topLeft() != m_loadPosition)
        kov_MoveFrameTo(this, m_loadPosition, frame);
}

void frmAdvanced::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        try {
            if (m_transfer)
                m_transfer->Cancel();
            timeoutLeft();
            if (kov_ReadNumber(m_reg, KovSetting::UpdateFrequency) != m_frequencyAtLoad) {
                kov_DebugMessage(QStringLiteral("--- uPdaTinG FreQuEncY --- ?"
                                                "?/// *&^%$#$"));
                const qint32 code =
                    DoWork(QuibFunction::GetJobs, m_reg.Str(KovSetting::Account),
                           m_reg.Str(KovSetting::Protocol), m_status.get(), false, true);
                if (!IsSuccessCode(code)) {
                    lblMessage->setText(
                        code < 0
                            ? Translate(QStringLiteral("GetJobs FAILED")) + QStringLiteral(" -1")
                            : Translate(QStringLiteral("GetJobs FAILED")) + QStringLiteral(" : ") +
                                  Translate(ResultText(code)));
                }
            }
        } catch (const std::exception& e) {
            kov_DebugMessage(QStringLiteral("Unload Error : ") + QString::fromLocal8Bit(e.what()));
        }
    }
    event->accept();
}
