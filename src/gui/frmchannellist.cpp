#include "frmchannellist.h"

#include "clsflexgridedit.h"
#include "foundation/translate.h"
#include "platform/userinterface.h"
#include "settings/settings_catalogue.h"
#include "twips.h"
#include "widgetuserinterface.h"

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
    m_reg.SetInfo(kov_SettingsKey());
    lblCaption = new QLabel(Translate(QStringLiteral("Channel Configuration")), this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    GRID = new QTableWidget(this);
    GRID->setObjectName(QStringLiteral("GRID"));
    GRID->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdSortChannel = new QPushButton(Translate(QStringLiteral("Sort By Channel")), this);
    cmdSortName = new QPushButton(Translate(QStringLiteral("Sort By Name")), this);
    cmdClose = new QPushButton(Translate(QStringLiteral("Close")), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSortChannel);
    buttons->addWidget(cmdSortName);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCaption);
    layout->addWidget(GRID);
    layout->addLayout(buttons);
    resize(kov_TwipsToPixels(5400, this), kov_TwipsToPixels(6000, this));

    m_editor = new clsFlexGridEdit(this);
    m_editor->setFlexGridControl(GRID);
    connect(m_editor, &clsFlexGridEdit::cellStored, this, &frmChannelList::cleanNumberCell);
    connect(cmdSortChannel, &QPushButton::clicked, this, [this] { FillGrid(2, 1); });
    connect(cmdSortName, &QPushButton::clicked, this, [this] { FillGrid(2, 0); });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    FillGrid(kov_ReadNumber(m_reg, KovSetting::GridFillMethod), 1);
}

frmChannelList::~frmChannelList() = default;

void frmChannelList::FillGrid(int method, int sortColumn)
{
    ChannelListModel model;
    const ChannelListModel::Fill result = model.fill(method, sortColumn);
    m_method = model.method();
    if (result == ChannelListModel::Fill::NoGuide) {
        m_noGuide = true;
        return;
    }
    if (result != ChannelListModel::Fill::Ok)
        return;
    GRID->clear();
    GRID->setColumnCount(model.header().size());
    GRID->setRowCount(model.rows().size());
    GRID->setHorizontalHeaderLabels(model.header());
    if (m_method == 2) {
        for (int c = 0; c < GRID->columnCount(); ++c) {
            const int present = kov_PixelsToTwips(GRID->columnWidth(c), this);
            GRID->setColumnWidth(
                c, kov_TwipsToPixels(kov_ReadNumber(m_reg, KovSetting::columnWidth(c), present),
                                     this));
        }
    }
    for (int r = 0; r < model.rows().size(); ++r) {
        const QStringList& row = model.rows().at(r);
        for (int c = 0; c < GRID->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(row.value(c));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            GRID->setItem(r, c, item);
        }
    }
}

void frmChannelList::cleanNumberCell(int row, int column)
{
    // Number cleaning: a typed Number cell keeps only its leading number.
    if (m_method != 2 || column != 1)
        return;
    QTableWidgetItem* item = GRID->item(row, column);
    if (item)
        item->setText(ChannelListModel::cleanNumber(item->text()));
}

QList<QStringList> frmChannelList::gridRows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < GRID->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < GRID->columnCount(); ++c)
            row << (GRID->item(r, c) ? GRID->item(r, c)->text() : QString());
        rows << row;
    }
    return rows;
}

bool frmChannelList::HasChanges() const
{
    return m_method == 2 && ChannelListModel::hasChanges(gridRows());
}

void frmChannelList::SaveGridContents()
{
    ChannelListModel::save(m_method, gridRows());
}

void frmChannelList::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    const QRect main = m_mainWindow ? m_mainWindow->frameGeometry() : QRect();
    const int left = kov_ReadNumber(m_reg, KovSetting::ChLstLeft,
                                    kov_PixelsToTwips(main.left() + main.width(), this) + 10);
    const int top =
        kov_ReadNumber(m_reg, KovSetting::ChLstTop, kov_PixelsToTwips(main.top(), this));
    move(kov_TwipsToPixels(left, this), kov_TwipsToPixels(top, this));
    if (m_noGuide)
        QTimer::singleShot(0, this, &QWidget::close);
}

void frmChannelList::closeEvent(QCloseEvent* event)
{
    if (!m_noGuide && !m_closing) {
        m_closing = true;
        m_editor->commit(); // a typed number reaches its cell before the grid is read
        for (int c = 0; c < GRID->columnCount(); ++c)
            m_reg.setLng(KovSetting::columnWidth(c), kov_PixelsToTwips(GRID->columnWidth(c), this));
        if (HasChanges()) {
            const int answer =
                kov_UserInterface().messageBox(Translate(QStringLiteral("Save Changes ?")), 36,
                                               Translate(QStringLiteral("Channel Configuration")));
            if (answer == MsgResult::Yes)
                SaveGridContents();
        }
        m_reg.setLng(KovSetting::ChLstWidth, kov_PixelsToTwips(width(), this));
        m_reg.setLng(KovSetting::ChLstHeight, kov_PixelsToTwips(height(), this));
        m_reg.setLng(KovSetting::ChLstLeft, kov_PixelsToTwips(x(), this));
        m_reg.setLng(KovSetting::ChLstTop, kov_PixelsToTwips(y(), this));
    }
    event->accept();
}
