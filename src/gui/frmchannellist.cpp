#include "frmchannellist.h"

#include "artwork.h"
#include "channels/channelmatch.h"
#include "clsflexgridedit.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/translate.h"
#include "placement.h"
#include "platform/userinterface.h"
#include "settings/settings_catalogue.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QPointer<frmChannelList>& openOne()
{
    static QPointer<frmChannelList> window;
    return window;
}

void information(const QString& text)
{
    kov_UserInterface().messageBox(text, MessageIcon::Information, kov_AppTitle());
}

// A heading and the names under it, at most a screenful of them.
QString nameList(const QString& heading, const QStringList& names)
{
    const int shown = 15;
    QString text = heading;
    for (const QString& name : names.mid(0, shown))
        text += kov_CrLf() + QStringLiteral("  ") + name;
    if (names.size() > shown)
        text += kov_CrLf() + QStringLiteral("  (+%1)").arg(names.size() - shown);
    return text;
}
} // namespace

frmChannelList* frmChannelList::openInstance()
{
    return openOne().data();
}

frmChannelList::frmChannelList(QWidget* mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), m_mainWindow(mainWindow)
{
    openOne() = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Translate(QStringLiteral("Channel Configuration")));
    setWindowIcon(Artwork::windowIcon());
    m_reg.SetInfo(kov_SettingsKey());
    headingLabel = new QLabel(Translate(QStringLiteral("Channel Configuration")), this);
    headingLabel->setObjectName(QStringLiteral("headingLabel"));
    grid = new QTableWidget(this);
    grid->setObjectName(QStringLiteral("grid"));
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    sortByChannelButton = new QPushButton(Translate(QStringLiteral("Sort By Channel")), this);
    sortByNameButton = new QPushButton(Translate(QStringLiteral("Sort By Name")), this);
    matchButton = new QPushButton(Translate(QStringLiteral("Match")), this);
    matchButton->setToolTip(Translate(QStringLiteral("Fill empty numbers from the recorder")));
    closeButton = new QPushButton(Translate(QStringLiteral("Close")), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sortByChannelButton);
    buttons->addWidget(sortByNameButton);
    buttons->addWidget(matchButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headingLabel);
    layout->addWidget(grid);
    layout->addLayout(buttons);
    resize(kov_TwipsToPixels(5400, this), kov_TwipsToPixels(6000, this));

    m_editor = new clsFlexGridEdit(this);
    m_editor->setFlexGridControl(grid);
    connect(m_editor, &clsFlexGridEdit::cellStored, this, &frmChannelList::cleanNumberCell);
    connect(sortByChannelButton, &QPushButton::clicked, this,
            [this] { FillGrid(2, 1, ChannelListModel::Order::Number); });
    connect(sortByNameButton, &QPushButton::clicked, this,
            [this] { FillGrid(2, 0, ChannelListModel::Order::Name); });
    connect(matchButton, &QPushButton::clicked, this, &frmChannelList::MatchChannels);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    FillGrid(kov_ReadNumber(m_reg, KovSetting::GridFillMethod), 1);
}

frmChannelList::~frmChannelList() = default;

void frmChannelList::FillGrid(int method, int sortColumn, ChannelListModel::Order order)
{
    m_editor->commit(); // a number being typed counts as typed
    const QHash<QString, QString> typed = typedNumbers();
    ChannelListModel model;
    const ChannelListModel::Fill result = model.fill(method, sortColumn);
    m_method = model.method();
    matchButton->setEnabled(m_method == 2); // only the normal view has a Number column
    if (result == ChannelListModel::Fill::NoGuide) {
        m_noGuide = true;
        return;
    }
    if (result != ChannelListModel::Fill::Ok)
        return;
    const QList<QStringList> shown = model.arrange(order, typed);
    m_loaded = model.rows();
    grid->clear();
    grid->setColumnCount(model.header().size());
    grid->setRowCount(shown.size());
    grid->setHorizontalHeaderLabels(model.header());
    if (m_method == 2) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            const int present = kov_PixelsToTwips(grid->columnWidth(c), this);
            grid->setColumnWidth(
                c, kov_TwipsToPixels(kov_ReadNumber(m_reg, KovSetting::columnWidth(c), present),
                                     this));
        }
    }
    for (int r = 0; r < shown.size(); ++r) {
        const QStringList& row = shown.at(r);
        for (int c = 0; c < grid->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(row.value(c));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            grid->setItem(r, c, item);
        }
    }
}

void frmChannelList::MatchChannels()
{
    if (m_method != 2)
        return;
    m_editor->commit(); // a number being typed counts as set and is kept
    // Connecting to a VDR that does not answer takes up to its time-out.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool reachable = false;
    const std::optional<QList<RecorderChannel>> channels = kov_RecorderChannels(&reachable);
    QApplication::restoreOverrideCursor();
    if (!reachable) {
        information(Translate(QStringLiteral("The recorder cannot be reached")));
        return;
    }
    if (!channels) {
        information(
            Translate(QStringLiteral("The recorder keeps no channel list to match against")));
        return;
    }
    QList<QStringList> rows = gridRows();
    const ChannelMatch match = kov_MatchChannels(rows, *channels);
    for (int r = 0; r < rows.size(); ++r) {
        const QString number = rows[r].value(1);
        QTableWidgetItem* item = grid->item(r, 1);
        if (item && item->text() == number)
            continue;
        if (!item) {
            item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            grid->setItem(r, 1, item);
        }
        item->setText(number);
    }
    QStringList parts;
    if (!match.unmatched.isEmpty())
        parts << nameList(Translate(QStringLiteral("No recorder channel matches:")),
                          match.unmatched);
    if (!match.ambiguous.isEmpty())
        parts << nameList(Translate(QStringLiteral("More than one recorder channel matches:")),
                          match.ambiguous);
    if (!parts.isEmpty())
        information(parts.join(kov_CrLf() + kov_CrLf()));
}

void frmChannelList::cleanNumberCell(int row, int column, const QString& previous)
{
    if (m_method != 2 || column != 1)
        return;
    QTableWidgetItem* item = grid->item(row, column);
    if (!item)
        return;
    QString cleaned;
    if (ChannelListModel::cleanNumber(item->text(), &cleaned)) {
        item->setText(cleaned);
    } else {
        item->setText(previous);
        QApplication::beep();
    }
}

QList<QStringList> frmChannelList::gridRows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < grid->columnCount(); ++c)
            row << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        rows << row;
    }
    return rows;
}

QHash<QString, QString> frmChannelList::typedNumbers() const
{
    QHash<QString, QString> typed;
    if (m_method != 2)
        return typed;
    const QList<QStringList> rows = gridRows();
    for (int r = 0; r < rows.size() && r < m_loaded.size(); ++r) {
        const QString number = rows.at(r).value(1);
        if (!number.isEmpty() && number != m_loaded.at(r).value(1))
            typed.insert(m_loaded.at(r).value(0), number);
    }
    return typed;
}

bool frmChannelList::HasChanges() const
{
    return m_method == 2 && ChannelListModel::hasChanges(gridRows());
}

void frmChannelList::SaveGridContents()
{
    ChannelListModel::save(m_method, gridRows(), m_loaded);
}

void frmChannelList::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The stored place is the frame's top-left corner, in twips like the other stored window
    // sizes; by default the frame stands just right of the main window's, 10 twips (less than
    // a pixel) apart, top edges level.
    const QRect main =
        m_mainWindow ? kov_FrameRect(m_mainWindow, kov_FrameMargins(m_mainWindow)) : QRect();
    const int left = kov_ReadNumber(m_reg, KovSetting::ChLstLeft,
                                    kov_PixelsToTwips(main.left() + main.width(), this) + 10);
    const int top =
        kov_ReadNumber(m_reg, KovSetting::ChLstTop, kov_PixelsToTwips(main.top(), this));
    kov_MoveFrameTo(this, QPoint(kov_TwipsToPixels(left, this), kov_TwipsToPixels(top, this)),
                    kov_FrameMargins(this, m_mainWindow));
    if (m_noGuide)
        QTimer::singleShot(0, this, &QWidget::close);
}

void frmChannelList::closeEvent(QCloseEvent* event)
{
    if (!m_noGuide && !m_closing) {
        m_closing = true;
        m_editor->commit(); // a typed number reaches its cell before the grid is read
        for (int c = 0; c < grid->columnCount(); ++c)
            m_reg.setLng(KovSetting::columnWidth(c), kov_PixelsToTwips(grid->columnWidth(c), this));
        if (HasChanges()) {
            const MessageAnswer answer =
                kov_UserInterface().messageBox(Translate(QStringLiteral("Save Changes ?")),
                                               {MessageIcon::Question, MessageButtons::YesNo},
                                               Translate(QStringLiteral("Channel Configuration")));
            if (answer == MessageAnswer::Yes)
                SaveGridContents();
        }
        // The same rectangle the window was placed by: the frame's.
        const QRect outer = kov_FrameRect(this, kov_FrameMargins(this, m_mainWindow));
        m_reg.setLng(KovSetting::ChLstWidth, kov_PixelsToTwips(outer.width(), this));
        m_reg.setLng(KovSetting::ChLstHeight, kov_PixelsToTwips(outer.height(), this));
        m_reg.setLng(KovSetting::ChLstLeft, kov_PixelsToTwips(outer.left(), this));
        m_reg.setLng(KovSetting::ChLstTop, kov_PixelsToTwips(outer.top(), this));
    }
    event->accept();
}
