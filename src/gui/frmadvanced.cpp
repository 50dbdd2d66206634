#include "frmadvanced.h"

#include "app/autostart.h"
#include "app/resulttexts.h"
#include "app/serverfunction.h"
#include "artwork.h"
#include "foundation/ckovqzcsv.h"
#include "foundation/numbertext.h"
#include "foundation/programname.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "frmchannellist.h"
#include "lcdtextbox.h"
#include "placement.h"
#include "platform/httptransfer.h"
#include "platform/userinterface.h"
#include "settings/quibfunction.h"
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

void frmAdvanced::layOutControls()
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
    grid->addWidget(syncHeading, 6, 0, 1, 3);
    grid->addWidget(frequencyLabel, 7, 0);
    grid->addWidget(frequencyField, 7, 1);
    grid->addWidget(hoursLabel, 7, 2);
    grid->addWidget(frequencyUpButton, 8, 1);
    grid->addWidget(frequencyDownButton, 8, 2);
    grid->addWidget(recorderLabel, 9, 0);
    grid->addWidget(recorderList, 9, 1, 1, 2);
    grid->addWidget(vdrHostLabel, 10, 0);
    grid->addWidget(vdrHostField, 10, 1, 1, 2);
    grid->addWidget(vdrPortLabel, 11, 0);
    grid->addWidget(vdrPortField, 11, 1);
    grid->addWidget(vdrMarginBeforeLabel, 12, 0);
    grid->addWidget(vdrMarginBeforeField, 12, 1);
    grid->addWidget(minutesBeforeLabel, 12, 2);
    grid->addWidget(vdrMarginAfterLabel, 13, 0);
    grid->addWidget(vdrMarginAfterField, 13, 1);
    grid->addWidget(minutesAfterLabel, 13, 2);
    grid->addWidget(vdrUseVpsLabel, 14, 0);
    grid->addWidget(vdrUseVpsBox, 14, 1);
    grid->addWidget(vdrFolderLabel, 15, 0);
    grid->addWidget(vdrFolderField, 15, 1, 1, 2);
    grid->addWidget(channelListButton, 16, 0, 1, 3);
    grid->addWidget(messageLine, 17, 0, 1, 3);
    grid->addWidget(closeButton, 18, 2);
}

void frmAdvanced::loadSettings()
{
    // Every opening reads the settings afresh; a value the store lacks shows its default.
    m_reg.SetInfo(kov_SettingsKey());
    timeoutLabel->setText(Translate(QStringLiteral("Timeout Seconds")));
    timeoutField->setText(QString::number(kov_ReadNumber(m_reg, KovSetting::TimeoutSeconds)));
    logRepliesLabel->setText(Translate(QStringLiteral("Log Replies")));
    ignoreOffsetLabel->setText(Translate(QStringLiteral("Ignore GMT Offset")));
    syncHeading->setText(Translate(QStringLiteral("Synchronize Now")));
    logRepliesBox->setChecked(kov_ReadNumber(m_reg, KovSetting::LogReplies) == 1);
    ignoreOffsetBox->setChecked(kov_ReadNumber(m_reg, KovSetting::IgnoreOffset) == 1);
    startAtLoginLabel->setText(Translate(QStringLiteral("Start at login")));
    startAtLoginBox->setChecked(Autostart::IsEnabled());
    targetLabel->setText(Translate(QStringLiteral("Target Database")));
    hoursLabel->setText(Translate(QStringLiteral("Hours")));
    frequencyLabel->setText(Translate(QStringLiteral("Sync Frequency")));
    m_frequency = kov_ReadNumber(m_reg, KovSetting::UpdateFrequency);
    m_frequencyAtLoad = m_frequency;
    showFrequency();
    loadRecorder();
    channelListButton->setText(Translate(QStringLiteral("Channel List")));
    fillServerList();
    messageLine->setText(Translate(QStringLiteral("Welcome to KOV Ferrit")));
}

void frmAdvanced::fillServerList()
{
    // 1Server, 2Server, ... up to the first empty one; each lists its host, the text before
    // the first comma. The edit field shows the chosen target, listed or not.
    for (qint32 n = 1;; ++n) {
        const QString server = m_reg.Str(KovSetting::server(n));
        if (server.isEmpty())
            break;
        serverList->addItem(server.section(QLatin1Char(','), 0, 0));
    }
    serverList->setCurrentIndex(-1);
    serverList->setEditText(m_reg.Str(KovSetting::Target));
}

void frmAdvanced::loadRecorder()
{
    recorderLabel->setText(Translate(QStringLiteral("Recorder")));
    recorderList->addItem(Translate(QStringLiteral("Local scheduler")), QStringLiteral("local"));
    recorderList->addItem(Translate(QStringLiteral("VDR")), QStringLiteral("vdr"));
    // A value the program does not know selects nothing; the recorder then counts as missing.
    recorderList->setCurrentIndex(
        recorderList->findData(kov_ReadText(m_reg, KovSetting::Recorder).trimmed().toLower()));
    vdrHostLabel->setText(Translate(QStringLiteral("VDR Host")));
    vdrHostField->setPlaceholderText(
        kov_SettingDefault(*kov_FindSetting(KovSetting::VdrHost)).toString());
    vdrHostField->setText(kov_ReadText(m_reg, KovSetting::VdrHost));
    vdrPortLabel->setText(Translate(QStringLiteral("VDR Port")));
    vdrMarginBeforeLabel->setText(Translate(QStringLiteral("Margin at Start")));
    vdrMarginAfterLabel->setText(Translate(QStringLiteral("Margin at Stop")));
    minutesBeforeLabel->setText(Translate(QStringLiteral("Minutes")));
    minutesAfterLabel->setText(minutesBeforeLabel->text());
    for (const auto& [field, setting] : vdrNumberFields())
        field->setText(QString::number(kov_ReadNumber(m_reg, setting)));
    vdrUseVpsLabel->setText(Translate(QStringLiteral("Use VPS")));
    vdrUseVpsBox->setChecked(kov_ReadNumber(m_reg, KovSetting::VdrUseVps) != 0);
    vdrFolderLabel->setText(Translate(QStringLiteral("VDR Folder")));
    vdrFolderField->setPlaceholderText(Translate(QStringLiteral("No folder")));
    vdrFolderField->setText(kov_ReadText(m_reg, KovSetting::VdrFolder));
    enableVdrFields();
}

QList<std::pair<QLineEdit*, QLatin1String>> frmAdvanced::vdrNumberFields() const
{
    return {{vdrPortField, KovSetting::VdrPort},
            {vdrMarginBeforeField, KovSetting::VdrMarginBefore},
            {vdrMarginAfterField, KovSetting::VdrMarginAfter}};
}

void frmAdvanced::enableVdrFields()
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

void frmAdvanced::connectControls()
{
    connect(serverList, &QComboBox::activated, this, &frmAdvanced::serverChosen);
    serverList->installEventFilter(this); // leaving the list chooses too
    connect(serversButton, &QPushButton::clicked, this, &frmAdvanced::getServers);
    connect(timeoutField, &QLineEdit::textEdited, this, &frmAdvanced::timeoutEdited);
    connect(timeoutField, &QLineEdit::editingFinished, this, &frmAdvanced::timeoutLeft);
    connect(logRepliesBox, &QCheckBox::clicked, this,
            [this](bool on) { m_reg.setLng(KovSetting::LogReplies, on ? 1 : 0); });
    connect(ignoreOffsetBox, &QCheckBox::clicked, this,
            [this](bool on) { m_reg.setLng(KovSetting::IgnoreOffset, on ? 1 : 0); });
    connect(startAtLoginBox, &QCheckBox::clicked, this, &frmAdvanced::startAtLoginClicked);
    connect(frequencyUpButton, &QPushButton::clicked, this, &frmAdvanced::frequencyUp);
    connect(frequencyDownButton, &QPushButton::clicked, this, &frmAdvanced::frequencyDown);
    connect(recorderList, &QComboBox::activated, this, &frmAdvanced::recorderChosen);
    connect(vdrHostField, &QLineEdit::textEdited, this, &frmAdvanced::vdrHostEdited);
    for (const auto& [field, setting] : vdrNumberFields()) {
        field->installEventFilter(this); // leaving it empty shows the stored number again
        connect(
            field, &QLineEdit::textEdited, this,
            [this, field = field, setting = QString(setting)] { vdrNumberEdited(field, setting); });
    }
    connect(vdrUseVpsBox, &QCheckBox::clicked, this,
            [this](bool on) { m_reg.setLng(KovSetting::VdrUseVps, on ? 1 : 0); });
    connect(vdrFolderField, &QLineEdit::textEdited, this, &frmAdvanced::vdrFolderEdited);
    connect(channelListButton, &QPushButton::clicked, this, &frmAdvanced::openChannelList);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

frmAdvanced::~frmAdvanced() = default;

void frmAdvanced::showFrequency()
{
    frequencyField->setText(QString::number(m_frequency));
}

bool frmAdvanced::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == serverList && event->type() == QEvent::FocusOut)
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
    const int index = serverList->currentIndex();
    if (index < 0)
        return;
    CKovQzCSVrow row;
    if (row.setRowData(serverList->itemText(index)))
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
    const int cursor = timeoutField->cursorPosition();
    timeoutField->setText(QString::number(kov_LeadingNumber(timeoutField->text()), 'g', 15));
    timeoutField->setCursorPosition(qMin(cursor, static_cast<int>(timeoutField->text().size())));
}

void frmAdvanced::timeoutLeft()
{
    bool inRange = false;
    const qint32 seconds = kov_LeadingLong(timeoutField->text(), &inRange);
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
    m_reg.setStr(KovSetting::Recorder, recorderList->currentData().toString());
    enableVdrFields();
}

void frmAdvanced::vdrHostEdited()
{
    // An emptied field goes back to the default host, which it then shows as its placeholder.
    const QString host = vdrHostField->text().trimmed();
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
    m_reg.setStr(KovSetting::VdrFolder, vdrFolderField->text().trimmed());
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
    startAtLoginBox->setChecked(Autostart::IsEnabled());
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
    // A click on the background puts the window back where it was first shown. The window is moved
    // only when it is elsewhere.
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
                    messageLine->setText(
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
